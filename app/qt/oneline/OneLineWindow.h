#pragma once
// The one-line window frmMin as a Qt window: the label lblMain over a client
// area of 4545 x 255 twips, the refresh timer Timer1, mouse, keys and file
// drops. What they do is frmMin's; this class only shows what it asks.

#include <QPoint>
#include <QTimer>
#include <QWidget>

#include "app/qt/toolkit/ElidedLabel.h"
#include "oneline/OneLineView.h"
#include "oneline/frmMin.h"

class QMenu;
class QMouseEvent;

namespace lirabox::oneline::qt {

class OneLineWindow : public QWidget, public OneLineView {
    Q_OBJECT
public:
    // The window reads the main window's labels and check box, runs its
    // commands through `main` and pops up the main window's menus; `owner`
    // (the main window) owns it. It applies the always-on-top state at once.
    OneLineWindow(frmMain& main, const MainView& mainView, const WindowModeView& mainWindow, QMenu& mnuSub,
                  QMenu& mnuETC, double dpi, QWidget& owner);

    // OneLineView
    std::string lblMain() const override;
    void setLblMain(const std::string& text) override;
    double Left() const override;
    double Top() const override;
    void Move(double left, double top) override;
    bool startSystemMove() override;
    void PopupMenu(OneLineMenu menu) override;
    std::uintptr_t WindowHandle() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool mouseEvent(OneLineArea area, QMouseEvent& event);

    frmMin mForm;
    QMenu& mMnuSub;
    QMenu& mMnuETC;
    double mDpi;
    lirabox::qt::ElidedLabel* mLblMain = nullptr;
    QTimer mTimer1;
    // Where the frame was last asked to go: the window manager reports a move
    // later than the pointer's next one, so a drag counts from here.
    QPoint mPlace;
};

}  // namespace lirabox::oneline::qt
