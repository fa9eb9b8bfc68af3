#pragma once
// Typing the time stamp into the focused window of a Wayland session, through
// the desktop's RemoteDesktop portal (org.freedesktop.portal.RemoteDesktop,
// xdg-desktop-portal 1.16): a keyboard session is asked for once, at the
// first text (the desktop may ask the user), and kept for the later ones;
// each character goes as its keysym, pressed and released, one call after the
// other's answer (the portal does not keep the order of calls sent together). Texts asked for
// while the session is being set up are typed once it is. Where no portal
// grants a keyboard the text is put on the clipboard instead, and `tellOnce`
// runs the first time that happens (the window says how to paste). A closed
// session is asked for again at the next text. UI thread only.

#include "player/TextTyper.h"
#include "support/UiText.h"
#include "support/dbus/PortalRequest.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace lirabox::dbus {

// What the window says the first time a time stamp went to the clipboard.
inline constexpr UiText kTimeStampOnClipboard =
    LIRABOX_TEXT("frmMain",
                 "デスクトップが入力を許可しないため、タイムスタンプをクリップボードにコピーしました。"
                 "入力先で Ctrl+V を押すと貼り付けられます。");

class PortalTextTyper final : public QObject, public TextTyper {
    Q_OBJECT
public:
    explicit PortalTextTyper(std::function<void()> tellOnce, QDBusConnection bus = QDBusConnection::sessionBus());
    ~PortalTextTyper() override;

    void type(const std::string& text) override;

private Q_SLOTS:
    void onClosed(const QDBusMessage& message);

private:
    enum class State { None, Starting, Started, Refused };

    void createSession();
    void selectDevices();
    void start();
    void typePending();
    void sendNextKey();
    void refuse();
    void forget();

    PortalRequests mRequests;
    std::function<void()> mTellOnce;
    bool mTold = false;
    State mState = State::None;
    unsigned mAttempt = 0;
    QString mSession;
    std::vector<std::string> mPending;
    std::deque<std::pair<int, unsigned>> mKeys;  // keysym and state, still to send
    bool mSending = false;
};

}  // namespace lirabox::dbus
