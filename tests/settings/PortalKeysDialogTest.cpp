// The settings dialog over the real behaviour, its keys bound through the
// real xdg-desktop-portal frontend and the tests' backend (on the private bus
// of tests/with-portal.sh): it says how the keys arrive, shows the keys the
// desktop gave, keeps the discard boxes out of reach, and a key changed in it
// is bound anew. Without a bus the keys are off, with the reason, and the main
// window's check box does not claim them.

#include "SettingsFixture.h"
#include "app/qt/settings/SettingsDialog.h"
#include "app/qt/settings/SettingsWindow.h"
#include "hotkeys/PortalKeys.h"
#include "hotkeys/dbus/PortalShortcuts.h"
#include "tests/app/qt/QtTestSupport.h"
#include "tests/common/TestPortal.h"

#include <QApplication>
#include <QCheckBox>
#include <QDBusConnection>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace lirabox::test {
namespace {

using hotkeys::PortalKeys;
using hotkeys::PortalShortcuts;
using settings::qt::SettingsWindow;

class PortalKeysDialogTest : public SettingsTest {
protected:
    // The main window outlives the keys.
    void TearDown() override {
        form().setSettingsDialog(nullptr);
        window.reset();
        keytap.passTo = nullptr;
    }

    // The main window loaded with its keys bound through `bus`, and the dialog.
    void loadWith(const QDBusConnection& bus) {
        portalBus = std::make_unique<PortalShortcuts>(bus);
        keys = std::make_unique<PortalKeys>(*portalBus, [this](Command command) { form().runCommand(command); });
        portalBus->answerTo(*keys);
        keytap.passTo = keys.get();
        ASSERT_TRUE(load());
        window = std::make_unique<SettingsWindow>(parts());
        form().setSettingsDialog(window.get());
        window->open(SettingsTab::ShortcutKeys);
    }

    template <class Widget>
    Widget* child(const QString& name) const {
        return window->dialog()->findChild<Widget*>(name);
    }
    std::string text(const QString& label) const { return child<QLabel>(label)->text().toStdString(); }

    std::unique_ptr<PortalShortcuts> portalBus;
    std::unique_ptr<PortalKeys> keys;
    std::unique_ptr<SettingsWindow> window;
};

TEST_F(PortalKeysDialogTest, TheDialogShowsTheDesktopsKeysAndAChangedKeyIsBoundAnew) {
    TestPortal portal;
    ASSERT_TRUE(portal.running());
    store("config.ini", "ID02", "ID", "2");
    store("config.ini", "ID02", "KeyCode", "118");  // Ctrl+Shift+F7
    store("config.ini", "ID02", "ShiftStatus", "3");
    store("config.ini", "ID02", "KeyDestroy", "1");
    loadWith(QDBusConnection::sessionBus());

    ASSERT_TRUE(processEventsUntil([&] { return text(QStringLiteral("lblDesktopKey2")) == "Ctrl+Shift+F7"; }))
        << text(QStringLiteral("lblKeyRoute"));
    EXPECT_EQ(text(QStringLiteral("lblKeyRoute")), "キーの受け取り方：デスクトップのショートカット（ポータル）");
    EXPECT_NE(portal.bound().find("faster|速度アップ|CTRL+SHIFT+F7\n"), std::string::npos) << portal.bound();
    auto* discard = child<QCheckBox>(QStringLiteral("chkDestructionKeyCode2"));
    EXPECT_FALSE(discard->isEnabled());
    EXPECT_TRUE(discard->isChecked());
    EXPECT_TRUE(child<QLabel>(QStringLiteral("lblDiscardByDesktop"))->isVisibleTo(window->dialog()));

    // An activation runs the row's command.
    portal.press("faster");
    portal.release("faster");
    ASSERT_TRUE(processEventsUntil([&] { return form().playRate() > 1.05; }));

    // Alt+F3 for play/pause, then OK: the shortcuts are bound again with it,
    // and the stored discard value stays as it was.
    auto* box = child<QLineEdit>(QStringLiteral("txtShortcutKey0"));
    QApplication::setActiveWindow(window->dialog());
    box->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(processEventsUntil([&] { return QApplication::focusWidget() == box; }));
    QTest::keyClick(box, Qt::Key_F3, Qt::AltModifier);
    QTest::mouseClick(child<QPushButton>(QStringLiteral("cmdOK")), Qt::LeftButton);
    EXPECT_TRUE(processEventsUntil([&] {
        return portal.bound().find("play-pause|再生・一時停止|ALT+F3\n") != std::string::npos;
    })) << portal.bound();
    EXPECT_EQ(stored("config.ini", "ID02", "KeyDestroy"), "1");
    EXPECT_EQ(stored("config.ini", "ID00", "KeyCode"), "114");
    EXPECT_EQ(view.chkUseKey(), 1);
}

TEST_F(PortalKeysDialogTest, WithoutABusTheKeysAreOffWithTheReasonAndTheBoxIsCleared) {
    loadWith(QDBusConnection::connectToBus(
        QStringLiteral("unix:path=") + QString::fromStdString(programFile("no-bus").string()),
        QStringLiteral("no-bus")));
    ASSERT_TRUE(processEventsUntil([&] { return view.chkUseKey() == 0; }));
    const std::string off = "キーの受け取り方：オフ：there is no session bus to reach the desktop's shortcut portal on";
    EXPECT_TRUE(processEventsUntil([&] { return text(QStringLiteral("lblKeyRoute")) == off; }))
        << text(QStringLiteral("lblKeyRoute"));
    EXPECT_TRUE(child<QCheckBox>(QStringLiteral("chkDestructionKeyCode0"))->isEnabled());
    EXPECT_FALSE(child<QLabel>(QStringLiteral("lblDesktopKeyHeader"))->isVisibleTo(window->dialog()));
}

}  // namespace
}  // namespace lirabox::test

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);  // listing the test cases has no display either
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
