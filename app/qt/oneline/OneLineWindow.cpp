#include "OneLineWindow.h"

#include <cmath>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QWindow>

#include "app/qt/mainwindow/DropFilter.h"
#include "app/qt/mainwindow/KeyPreview.h"
#include "app/qt/mainwindow/Twips.h"
#include "app/qt/toolkit/Catalogue.h"
#include "app/qt/toolkit/ElidedLabel.h"
#include "app/qt/toolkit/WaylandClient.h"
#include "player/frmMain.h"

namespace lirabox::oneline::qt {
namespace {

using lirabox::pixelsToTwips;
using lirabox::twipsToPixels;
using lirabox::qt::toPixels;

MouseButton buttonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton: return MouseButton::Left;
    case Qt::RightButton: return MouseButton::Right;
    default: return MouseButton::Middle;
    }
}

// Assistive technology sees the one-line window as the window it is, not as a plain area.
QAccessibleInterface* windowAccessible(const QString&, QObject* object) {
    auto* window = qobject_cast<OneLineWindow*>(object);
    return window == nullptr ? nullptr : new QAccessibleWidget(window, QAccessible::Window);
}

// On Wayland the title bar would be Qt's own drawing, which takes more room
// than the line itself: the window is its line alone, moved by the compositor
// (Qt draws its title bar for a title hint even on a frameless window).
Qt::WindowFlags oneLineWindowFlags() {
    if (lirabox::qt::isWaylandClient()) return Qt::Dialog | Qt::FramelessWindowHint;
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
}

}  // namespace

OneLineWindow::OneLineWindow(frmMain& main, const MainView& mainView, const WindowModeView& mainWindow, QMenu& mnuSub,
                             QMenu& mnuETC, double dpi, QWidget& owner)
    : QWidget(&owner, oneLineWindowFlags()), mForm(main, mainView, mainWindow, *this), mMnuSub(mnuSub), mMnuETC(mnuETC),
      mDpi(dpi) {
    static const bool accessibleAsWindow = (QAccessible::installFactory(&windowAccessible), true);
    (void)accessibleAsWindow;
    setObjectName(QStringLiteral("frmMin"));
    setWindowTitle(QString::fromLatin1(frmMin::kTitle));
    setFixedSize(twipsToPixels(frmMin::kClientWidth, dpi), twipsToPixels(frmMin::kClientHeight, dpi));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    mLblMain = new lirabox::qt::ElidedLabel({}, this);
    mLblMain->setObjectName(QStringLiteral("lblMain"));
    mLblMain->setGeometry(toPixels(frmMin::kLblMain, dpi));
    setLblMain(lirabox::shown(frmMin::kDesignText));
    mLblMain->setMouseTracking(true);
    mLblMain->installEventFilter(this);
    installEventFilter(this);

    auto* drops =
        new lirabox::qt::DropFilter([this](const std::vector<std::string>& files) { mForm.OLEDragDrop(files); }, this);
    drops->attach(this);
    drops->attach(mLblMain);
    new lirabox::qt::KeyPreview(
        *this, [this](std::int32_t keyCode, std::int32_t shift) { return mForm.Form_KeyDown(keyCode, shift); });

    mTimer1.setInterval(frmMin::kTimer1Interval);
    connect(&mTimer1, &QTimer::timeout, this, [this] { mForm.Timer1_Timer(); });
    mTimer1.start();
    mForm.Form_Load();
}

std::string OneLineWindow::lblMain() const { return mLblMain->wholeText().toStdString(); }

// The time before the gap stays whole; a long file name after it is elided.
void OneLineWindow::setLblMain(const std::string& text) {
    const QString line = QString::fromStdString(text);
    const QString gap = QString::fromLatin1(frmMin::kGap);
    const qsizetype lead = line.indexOf(gap);
    if (lead < 0) {
        mLblMain->setTexts({}, line);
    } else {
        mLblMain->setTexts(line.left(lead + gap.size()), line.mid(lead + gap.size()));
    }
}

double OneLineWindow::Left() const { return pixelsToTwips(mPlace.x(), mDpi); }
double OneLineWindow::Top() const { return pixelsToTwips(mPlace.y(), mDpi); }

void OneLineWindow::Move(double left, double top) {
    mPlace = QPoint(twipsToPixels(left, mDpi), twipsToPixels(top, mDpi));
    move(mPlace);
}

bool OneLineWindow::startSystemMove() {
    return lirabox::qt::isWaylandClient() && windowHandle() != nullptr && windowHandle()->startSystemMove();
}

void OneLineWindow::PopupMenu(OneLineMenu menu) {
    (menu == OneLineMenu::Sub ? mMnuSub : mMnuETC).popup(QCursor::pos());
}

std::uintptr_t OneLineWindow::WindowHandle() const {
    return static_cast<std::uintptr_t>(const_cast<OneLineWindow*>(this)->winId());
}

bool OneLineWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        if (watched == mLblMain) return mouseEvent(OneLineArea::Label, *static_cast<QMouseEvent*>(event));
        if (watched == this) return mouseEvent(OneLineArea::Background, *static_cast<QMouseEvent*>(event));
        break;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

// The pointer is measured from where the client area was last asked to be,
// not from where the window manager has reported it so far.
bool OneLineWindow::mouseEvent(OneLineArea area, QMouseEvent& event) {
    if (event.type() == QEvent::MouseButtonPress) mPlace = pos();
    const QPointF client = QPointF(mPlace + (geometry().topLeft() - pos()));
    const QPointF pointer = event.globalPosition() - client;
    const double x = pixelsToTwips(pointer.x(), mDpi);
    const double y = pixelsToTwips(pointer.y(), mDpi);
    switch (event.type()) {
    case QEvent::MouseButtonPress: mForm.MouseDown(area, buttonOf(event.button()), x, y); break;
    case QEvent::MouseMove: mForm.MouseMove(x, y); break;
    default: mForm.MouseUp(); break;
    }
    return true;
}

void OneLineWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    mForm.Form_Close();
}

}  // namespace lirabox::oneline::qt
