// The one-line window's behaviour over a loaded main window (fake engine and
// views): its text, dragging, popups, keys, drops and its always-on-top state.

#include "oneline/frmMin.h"
#include "player/MenuHandlers.h"
#include "tests/player/PlayerFixture.h"
#include "tests/player/ViewModeFakes.h"

namespace lirabox::test {
namespace {

using oneline::frmMin;
using oneline::MouseButton;
using oneline::OneLineArea;
using oneline::OneLineMenu;

class FakeOneLineView : public oneline::OneLineView {
public:
    std::string lblMain() const override { return text; }
    void setLblMain(const std::string& value) override { text = value; }
    double Left() const override { return left; }
    double Top() const override { return top; }
    void Move(double newLeft, double newTop) override {
        left = newLeft;
        top = newTop;
    }
    void PopupMenu(OneLineMenu menu) override { popups.push_back(menu); }
    std::uintptr_t WindowHandle() const override { return 0x700001; }
    bool startSystemMove() override {
        ++systemMoves;
        return desktopMoves;
    }

    std::string text;
    double left = 1500;
    double top = 3000;
    std::vector<OneLineMenu> popups;
    bool desktopMoves = false;  // as on Wayland
    int systemMoves = 0;
};

class frmMinTest : public PlayerTest {
protected:
    frmMinTest() { form().setMenuHandlers(&menus); }

    // Switches to one-line mode, as the menu does, and loads this window.
    void openOneLine() {
        form().runCommand(Command::OneLineMode);
        oneLine.Form_Load();
    }

    FakeWindowModes window;
    std::shared_ptr<AboveStateDesktop> desktop = std::make_shared<AboveStateDesktop>();
    MenuHandlers menus {form(), view, window, desktop};
    FakeOneLineView oneLineView;
    frmMin oneLine {form(), view, window, oneLineView, desktop};
};

TEST_F(frmMinTest, ShowsTheMainWindowsTimeAndFileWithFourSpacesBetween) {
    ASSERT_TRUE(load());
    oneLine.Timer1_Timer();
    EXPECT_EQ(oneLineView.text, "00:00:00 / 00:00:00    ファイルがありません");

    engine.setDurationFor("/rec/会議 1.wav", 75);
    form().fileOpen("/rec/会議 1.wav");
    oneLine.Timer1_Timer();
    EXPECT_EQ(oneLineView.text, "00:00:00 / 00:01:15    会議 1.wav");
}

TEST_F(frmMinTest, DraggingKeepsTheGrabbedPointUnderThePointerUntilAButtonIsReleased) {
    ASSERT_TRUE(load());
    // The grab is rounded to whole twips, halves to even: 100.5 -> 100, 52.5 -> 52.
    oneLine.MouseDown(OneLineArea::Label, MouseButton::Left, 100.5, 52.5);
    oneLine.MouseMove(250, 80);
    EXPECT_DOUBLE_EQ(oneLineView.left, 1500 - 100 + 250);
    EXPECT_DOUBLE_EQ(oneLineView.top, 3000 - 52 + 80);
    // The window has moved under the pointer: the next position counts from there.
    oneLine.MouseMove(100 + 15, 52 - 30);
    EXPECT_DOUBLE_EQ(oneLineView.left, 1650 + 15);
    EXPECT_DOUBLE_EQ(oneLineView.top, 3028 - 30);

    oneLine.MouseUp();
    oneLine.MouseMove(400, 200);
    EXPECT_DOUBLE_EQ(oneLineView.left, 1665);
    EXPECT_DOUBLE_EQ(oneLineView.top, 2998);

    // Any button but the right one drags, on the text and on the strip alike; 101.5 -> 102.
    oneLine.MouseDown(OneLineArea::Background, MouseButton::Middle, 101.5, 0);
    oneLine.MouseMove(102, 0);
    EXPECT_DOUBLE_EQ(oneLineView.left, 1665);
    oneLine.MouseUp();
}

TEST_F(frmMinTest, WhereTheDesktopMovesWindowsADragIsHandedToIt) {
    ASSERT_TRUE(load());
    oneLineView.desktopMoves = true;
    oneLine.MouseDown(OneLineArea::Label, MouseButton::Left, 100, 50);
    oneLine.MouseMove(250, 80);
    EXPECT_EQ(oneLineView.systemMoves, 1);
    EXPECT_FALSE(oneLine.dragging());
    EXPECT_DOUBLE_EQ(oneLineView.left, 1500);
}

TEST_F(frmMinTest, TheRightButtonPopsUpTheOneLineMenuOnTheTextAndTheViewMenuAroundIt) {
    ASSERT_TRUE(load());
    oneLine.MouseDown(OneLineArea::Label, MouseButton::Right, 10, 10);
    oneLine.MouseDown(OneLineArea::Background, MouseButton::Right, 4540, 250);
    EXPECT_EQ(oneLineView.popups, (std::vector<OneLineMenu> {OneLineMenu::Sub, OneLineMenu::ETC}));
    EXPECT_FALSE(oneLine.dragging());
    oneLine.MouseMove(500, 500);
    EXPECT_DOUBLE_EQ(oneLineView.left, 1500);
}

TEST_F(frmMinTest, AltEnterAndTheCloseButtonReturnToTheFullWindowOtherKeysDoNothing) {
    ASSERT_TRUE(load());
    openOneLine();
    for (const std::int32_t shift : {0, 5, 6, 7}) {
        EXPECT_FALSE(oneLine.Form_KeyDown(13, shift));
        EXPECT_FALSE(form().fullMode());
    }
    EXPECT_TRUE(oneLine.Form_KeyDown(13, 4));
    EXPECT_TRUE(form().fullMode());
    EXPECT_TRUE(window.mainVisible);
    EXPECT_EQ(window.oneLine, 0u);

    openOneLine();
    oneLine.Form_Close();
    EXPECT_TRUE(form().fullMode());
    EXPECT_TRUE(window.mainVisible);
}

TEST_F(frmMinTest, ADropLoadsTheFirstFileWithoutPlayingAndKeepsTheFocusHere) {
    ASSERT_TRUE(load());
    openOneLine();
    engine.setDurationFor("/rec/b.wav", 30);
    oneLine.OLEDragDrop({"/rec/b.wav", "/rec/c.wav"});
    EXPECT_EQ(view.fileText, "b.wav");
    EXPECT_NE(engine.state(), media::kPlaying);
    EXPECT_EQ(view.focus, std::vector<ShownWindow> {ShownWindow::OneLine});
}

TEST_F(frmMinTest, OpensAboveTheOthersOnlyWhenTheMainWindowsBoxIsChecked) {
    ASSERT_TRUE(load());
    openOneLine();
    EXPECT_FALSE(desktop->isAbove(oneLineView.WindowHandle()));
    window.onTop = 1;
    oneLine.Form_Load();
    EXPECT_TRUE(desktop->isAbove(oneLineView.WindowHandle()));
}

}  // namespace
}  // namespace lirabox::test
