// The key-message handling in front of a window's own, on a real X server:
// another client sends the window ClientMessages the way the hook library
// does (XSendEvent), and the test watches what the window's own handling and
// the command handler see, in order.

#include "OtherClient.h"
#include "app/qt/keys/DeclaredFunctionManager.h"
#include "keytap/Keytap.h"
#include "tests/app/qt/QtTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QStringList>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lirabox::hotkeys {
namespace {

using test::OtherClient;
using test::processEventsUntil;
using Journal = std::vector<std::string>;

// Qt's warnings while a test runs; the test program's main puts this in
// place before anything else, so the handling under test chains to it.
QStringList gWarnings;

void recordWarning(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtWarningMsg) gWarnings << text;
}

constexpr const char* kOtherMessage = "LIRABOX_TEST_OTHER_MESSAGE";

// A window that writes every ClientMessage of the two test types it handles
// into the journal and answers with `claims`.
class WindowStandIn : public QWidget {
public:
    WindowStandIn(Journal& journal, std::string name, std::vector<xcb_atom_t> watched)
        : mJournal(journal), mName(std::move(name)), mWatched(std::move(watched)) {}

    bool claims = false;
    // Runs after each watched message is written down.
    std::function<void()> afterMessage;

protected:
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) return false;
        const auto* client = static_cast<const xcb_client_message_event_t*>(message);
        for (std::size_t i = 0; i < mWatched.size(); ++i) {
            if (client->type != mWatched[i]) continue;
            mJournal.push_back(mName + " type" + std::to_string(i) + " format" + std::to_string(client->format) +
                               " slot" + std::to_string(static_cast<std::int32_t>(client->data.data32[0])));
            if (afterMessage) afterMessage();
            return claims;
        }
        return false;
    }

    void closeEvent(QCloseEvent* event) override {
        mJournal.push_back(mName + " closes");
        event->accept();
    }

private:
    Journal& mJournal;
    std::string mName;
    std::vector<xcb_atom_t> mWatched;
};

// The entries of the journal that start with `prefix`, in order.
Journal entriesOf(const Journal& journal, const std::string& prefix) {
    Journal entries;
    for (const std::string& entry : journal) {
        if (entry.rfind(prefix, 0) == 0) entries.push_back(entry);
    }
    return entries;
}

// Whether "command N" stands after the window's entry for slot N, for every command.
bool eachCommandFollowsItsMessage(const Journal& journal) {
    for (auto command = journal.begin(); command != journal.end(); ++command) {
        if (command->rfind("command ", 0) != 0) continue;
        const std::string message = "window type0 format32 slot" + command->substr(8);
        if (std::find(journal.begin(), command, message) == command) return false;
    }
    return true;
}

class KeyMessageFilter : public ::testing::Test {
protected:
    void SetUp() override {
        gWarnings.clear();
        mKeyMessage = mSender.atom(KEYTAP_MESSAGE_NAME);
        mOther = mSender.atom(kOtherMessage);
        mWindow = std::make_unique<WindowStandIn>(
            mJournal,
            "window",
            std::vector<xcb_atom_t> {static_cast<xcb_atom_t>(mKeyMessage), static_cast<xcb_atom_t>(mOther)});
        mWindow->show();
        mManager.setKeyMessageHandler(
            [this](std::int32_t slot) { mJournal.push_back("command " + std::to_string(slot)); });
    }

    std::uintptr_t windowId() const { return mWindow->winId(); }

    void send(test::XId target, test::XId type, long slot, int format = 32) {
        mSender.sendClientMessage(target, type, slot, format);
    }

    void sendKeyMessage(long slot) { send(windowId(), mKeyMessage, slot); }

    // Runs the event loop until the journal holds `entry`.
    bool until(const std::string& entry) {
        return processEventsUntil([&] { return std::find(mJournal.begin(), mJournal.end(), entry) != mJournal.end(); });
    }

    OtherClient mSender;
    test::XId mKeyMessage = 0;
    test::XId mOther = 0;
    Journal mJournal;
    std::unique_ptr<WindowStandIn> mWindow;
    DeclaredFunctionManager mManager;
};

// Messages that arrive together are all handled by the window before the
// first of their commands runs; each command still follows its own message.
TEST_F(KeyMessageFilter, TheWindowsOwnHandlingSeesEachKeyMessageBeforeItsCommandRuns) {
    mManager.SubclassMainWindow(windowId());
    for (long slot = 0; slot <= 7; ++slot) sendKeyMessage(slot);
    ASSERT_TRUE(until("command 7"));

    Journal messages;
    Journal commands;
    for (int slot = 0; slot <= 7; ++slot) {
        messages.push_back("window type0 format32 slot" + std::to_string(slot));
        commands.push_back("command " + std::to_string(slot));
    }
    EXPECT_EQ(entriesOf(mJournal, "window"), messages);
    EXPECT_EQ(entriesOf(mJournal, "command"), commands);
    EXPECT_TRUE(eachCommandFollowsItsMessage(mJournal)) << ::testing::PrintToString(mJournal);
}

TEST_F(KeyMessageFilter, TheCommandRunsAndTheWindowsAnswerStandsWhenTheWindowClaimsTheMessage) {
    mWindow->claims = true;
    mManager.SubclassMainWindow(windowId());
    sendKeyMessage(4);
    ASSERT_TRUE(until("command 4"));
    EXPECT_EQ(mJournal, (Journal {"window type0 format32 slot4", "command 4"}));
}

TEST_F(KeyMessageFilter, MessagesWithoutACommandOnlyReachTheWindow) {
    WindowStandIn second(mJournal, "second", {static_cast<xcb_atom_t>(mKeyMessage)});
    second.show();
    mManager.SubclassMainWindow(windowId());

    sendKeyMessage(10);
    sendKeyMessage(15);
    sendKeyMessage(-1);
    send(windowId(), mOther, 0);
    send(windowId(), mKeyMessage, 1, 8);
    send(second.winId(), mKeyMessage, 2);  // a key message for another window
    sendKeyMessage(3);
    ASSERT_TRUE(until("command 3"));

    // Qt itself passes no message of another format than 32 on to a window.
    EXPECT_EQ(entriesOf(mJournal, "window"),
              (Journal {"window type0 format32 slot10",
                        "window type0 format32 slot15",
                        "window type0 format32 slot-1",
                        "window type1 format32 slot0",
                        "window type0 format32 slot3"}));
    EXPECT_EQ(entriesOf(mJournal, "second"), (Journal {"second type0 format32 slot2"}));
    EXPECT_EQ(entriesOf(mJournal, "command"), (Journal {"command 3"}));
}

TEST_F(KeyMessageFilter, QtsOwnHandlingOfTheWindowGoesOn) {
    mManager.SubclassMainWindow(windowId());
    send(windowId(), mSender.atom("WM_PROTOCOLS"), static_cast<long>(mSender.atom("WM_DELETE_WINDOW")));
    EXPECT_TRUE(until("window closes"));
}

TEST_F(KeyMessageFilter, RestoringStopsTheCommandsAndIsHarmlessWhenNothingWasInstalled) {
    mManager.RestoreMainWindowProc(windowId());
    EXPECT_FALSE(mManager.isSubclassed());
    sendKeyMessage(0);
    ASSERT_TRUE(until("window type0 format32 slot0"));

    mManager.SubclassMainWindow(windowId());
    sendKeyMessage(1);
    ASSERT_TRUE(until("command 1"));

    mManager.RestoreMainWindowProc(windowId());
    mManager.RestoreMainWindowProc(windowId());
    sendKeyMessage(2);
    ASSERT_TRUE(until("window type0 format32 slot2"));
    mManager.SubclassMainWindow(windowId());
    sendKeyMessage(3);
    ASSERT_TRUE(until("command 3"));

    EXPECT_EQ(mJournal,
              (Journal {"window type0 format32 slot0",
                        "window type0 format32 slot1",
                        "command 1",
                        "window type0 format32 slot2",
                        "window type0 format32 slot3",
                        "command 3"}));
}

TEST_F(KeyMessageFilter, InstallingTwiceRunsEachCommandOnce) {
    mManager.SubclassMainWindow(windowId());
    mManager.SubclassMainWindow(windowId());
    sendKeyMessage(5);
    sendKeyMessage(6);
    ASSERT_TRUE(until("command 6"));
    EXPECT_EQ(entriesOf(mJournal, "command"), (Journal {"command 5", "command 6"}));
    EXPECT_TRUE(eachCommandFollowsItsMessage(mJournal)) << ::testing::PrintToString(mJournal);
}

TEST_F(KeyMessageFilter, ACommandStillWaitingWhenTheManagerGoesIsDropped) {
    auto leaving = std::make_unique<DeclaredFunctionManager>();
    leaving->setKeyMessageHandler([this](std::int32_t slot) { mJournal.push_back("gone " + std::to_string(slot)); });
    leaving->SubclassMainWindow(windowId());
    mManager.SubclassMainWindow(windowId());
    // Both have queued their command by the time the window's own handling runs.
    mWindow->afterMessage = [&] { leaving.reset(); };
    sendKeyMessage(2);
    ASSERT_TRUE(until("command 2"));
    sendKeyMessage(3);
    ASSERT_TRUE(until("command 3"));
    EXPECT_EQ(mJournal,
              (Journal {"window type0 format32 slot2", "command 2", "window type0 format32 slot3", "command 3"}));
}

TEST_F(KeyMessageFilter, TheMessageNumberIsTheOneEveryClientGetsForTheName) {
    EXPECT_EQ(mManager.keyMessageId(), 0u);
    mManager.SubclassMainWindow(windowId());
    EXPECT_EQ(mManager.keyMessageId(), static_cast<std::uint32_t>(mKeyMessage));
    mManager.RestoreMainWindowProc(windowId());
    EXPECT_EQ(mManager.keyMessageId(), static_cast<std::uint32_t>(mKeyMessage));
}

TEST_F(KeyMessageFilter, QtsWarningAboutTheKeyMessageIsDroppedAndOtherWarningsAreNot) {
    mManager.SubclassMainWindow(windowId());
    sendKeyMessage(0);
    send(windowId(), mOther, 0);
    sendKeyMessage(1);
    ASSERT_TRUE(until("command 1"));
    ASSERT_EQ(gWarnings.size(), 1) << gWarnings.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(gWarnings.front().contains(QLatin1String(kOtherMessage))) << gWarnings.front().toStdString();
}

}  // namespace
}  // namespace lirabox::hotkeys

int main(int argc, char** argv) {
    qInstallMessageHandler(lirabox::hotkeys::recordWarning);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
