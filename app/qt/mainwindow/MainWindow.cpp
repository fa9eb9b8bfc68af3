#include "MainWindow.h"

#include <algorithm>
#include <utility>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QInputDialog>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>

#include "ControlIcons.h"
#include "DropFilter.h"
#include "FitText.h"
#include "MenuItems.h"
#include "OpenDialog.h"
#include "PictureBox.h"
#include "SliderAccessible.h"
#include "SliderArt.h"
#include "WindowIcon.h"
#include "app/qt/toolkit/Catalogue.h"
#include "app/qt/toolkit/NamedComboBox.h"
#include "player/FormLayout.h"
#include "player/MainWindowTexts.h"
#include "player/SeekEnvelope.h"
#include "player/frmMain.h"
#include "settings/SettingsTexts.h"
#include "support/RaisedError.h"

namespace lirabox::qt {
namespace {

// The window's font size, as the controls' twips sizes were made for.
constexpr double kPointSize = 9;

void describe(QWidget& widget, const UiText& text) {
    widget.setToolTip(uiText(text));
    widget.setAccessibleName(uiText(text));
}

// Qt shows a CR as a stray mark; the messages' CR LF become plain line breaks.
QString messageText(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QMessageBox::Icon toQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

template <class Widget, class... Args>
Widget* named(QWidget* parent, const char* name, Args&&... args) {
    auto* widget = new Widget(std::forward<Args>(args)..., parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

struct Place {
    QWidget* widget;
    TwipsRect twips;
};

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    static const bool sliderAccessibility = (QAccessible::installFactory(&sliderAccessible), true);
    (void)sliderAccessibility;
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(frmMain::kTitle));
    QFont font = this->font();
    font.setPointSizeF(kPointSize);
    setFont(font);

    createControls();
    mFileMenu = addFileMenu(*menuBar());
    mSettingsMenu = addSettingsMenu(*menuBar());
    mViewMenu = addViewMenu(*menuBar());
    mHelpMenu = addHelpMenu(*menuBar());
    mOneLinePopup = makeOneLinePopup(*this);
    giveAccessKey(*menuBar(), *mFileMenu.mnuMain, Qt::Key_F);
    giveAccessKey(*menuBar(), *mSettingsMenu.mnuSet, Qt::Key_S);
    giveAccessKey(*menuBar(), *mViewMenu.mnuETC, Qt::Key_V);
    giveAccessKey(*menuBar(), *mHelpMenu.mnuHelp, Qt::Key_H);
    openWithF10(*menuBar());
    mTimer2.setObjectName(QStringLiteral("Timer2"));
    mTimer2.setInterval(100);
    mTimer2.setTimerType(Qt::PreciseTimer);  // ten ticks a second, not a coarse approximation
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    applyDpi(screen() != nullptr ? screen()->logicalDotsPerInchX() : 96.0);
    // The window takes its final size now, before it is placed: a resize once
    // it is mapped would move it off the place it was given.
    ensurePolished();
    layout()->activate();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls() {
    mClient = named<QWidget>(this, "client");
    setCentralWidget(mClient);
    QWidget* client = mClient;

    auto* strip = named<QFrame>(client, "StatusBar1");
    strip->setFrameShape(QFrame::HLine);
    strip->setFrameShadow(QFrame::Sunken);
    mStatusBar1 = strip;

    mLblTimeNow = named<QLabel>(client, "lblTimeNow", QStringLiteral("00:00:00 / 00:00:00"));
    mLblFile = named<ElidedLabel>(client, "lblFile", uiText(texts::kNoFile));
    mSeekbk = new SeekBarPicture(layout::seekbk, art::paintSeekTrack, client);
    mSeekbk->setObjectName(QStringLiteral("seekbk"));
    mSeekpoint = new PictureBox(layout::seekpoint, art::paintArrow, mSeekbk);
    mSeekpoint->setObjectName(QStringLiteral("seekpoint"));
    mVolbk = new PictureBox(layout::volbk, art::paintVolumeTrack, client);
    mVolbk->setObjectName(QStringLiteral("volbk"));
    mPicArrow = new PictureBox(layout::picArrow, art::paintArrow, mVolbk);
    mPicArrow->setObjectName(QStringLiteral("picArrow"));

    mCmdPlay = named<QPushButton>(client, "cmdPlay");
    mCmdStop = named<QPushButton>(client, "cmdStop");
    mCmdOpen = named<QPushButton>(client, "cmdOpen");
    mCmdRewind = named<QPushButton>(client, "cmdRewind");
    mCmdForward = named<QPushButton>(client, "cmdForward");
    mPlayButton = std::make_unique<PlayButton>(*mCmdPlay);
    mCmdStop->setIcon(stopIcon(*style()));
    mCmdOpen->setIcon(openIcon(*style()));
    mCmdRewind->setIcon(rewindIcon(*style()));
    mCmdForward->setIcon(forwardIcon(*style()));
    describe(*mCmdStop, texts::kStop);
    describe(*mCmdOpen, texts::kOpen);
    describe(*mCmdRewind, texts::kRewind);
    describe(*mCmdForward, texts::kForward);
    describe(*mSeekbk, texts::kSeekBar);
    describe(*mVolbk, texts::kVolume);
    mCmdSpeedUp = named<QPushButton>(client, "cmdSpeed0", uiText(texts::kSpeedUp));
    mCmdSpeedDown = named<QPushButton>(client, "cmdSpeed1", uiText(texts::kSpeedDown));
    // The two speed buttons lie below the window's visible area: the focus never goes where nobody sees it.
    mCmdSpeedUp->setFocusPolicy(Qt::NoFocus);
    mCmdSpeedDown->setFocusPolicy(Qt::NoFocus);

    mLabel2 = named<QLabel>(client, "Label2", QStringLiteral("x"));
    mLabel1 = named<QLabel>(client, "Label1", uiText(texts::kSpeed));
    mCboSpeed = named<NamedComboBox>(client, "cboSpeed", uiText(texts::kSpeed));
    mChkUseKey = named<QCheckBox>(client, "chkUseKey", uiText(texts::kUseKey));
    mChkOnTop = named<QCheckBox>(client, "chkOnTop", uiText(texts::kOnTop));
    mStatusBar1->lower();
}

void MainWindow::applyDpi(double dpi) {
    mDpi = dpi;
    mClient->setFixedSize(twipsToPixels(layout::kClientWidth, dpi), twipsToPixels(layout::kClientHeight, dpi));
    const Place places[] = {
        {mLblTimeNow, layout::lblTimeNow},
        {mLblFile, layout::lblFile},
        {mCmdPlay, layout::cmdPlay},
        {mCmdStop, layout::cmdStop},
        {mCmdOpen, layout::cmdOpen},
        {mCmdRewind, layout::cmdRewind},
        {mCmdForward, layout::cmdForward},
        {mCmdSpeedUp, layout::cmdSpeedUp},
        {mCmdSpeedDown, layout::cmdSpeedDown},
        {mLabel2, layout::Label2},
        {mLabel1, layout::Label1},
        {mCboSpeed, layout::cboSpeed},
        {mChkUseKey, layout::chkUseKey},
        {mChkOnTop, layout::chkOnTop},
        {mStatusBar1, layout::StatusBar1},
    };
    for (const Place& place : places) place.widget->setGeometry(toPixels(place.twips, dpi));
    for (PictureBox* box : {static_cast<PictureBox*>(mSeekbk), mSeekpoint, mVolbk, mPicArrow}) box->applyDpi(dpi);
    growToFullLine(*mLblFile, mSeekbk->y());
    for (QPushButton* button : {mCmdPlay, mCmdStop, mCmdOpen, mCmdRewind, mCmdForward}) {
        const int side = std::max(8, std::min(button->width(), button->height()) * 3 / 5);
        button->setIconSize(QSize(side, side));
    }
    // The time label keeps the width of its format whatever it shows.
    for (QWidget* text : std::initializer_list<QWidget*> {mLblTimeNow, mLabel1, mLabel2, mChkUseKey, mChkOnTop}) {
        shrinkToFit(*text, kPointSize);
    }
}

void MainWindow::showEnvelope(SeekEnvelope& envelope) {
    SeekBarPicture* bar = mSeekbk;
    // Called on the envelope's worker: the levels are taken there and drawn
    // on the UI thread.
    envelope.setChangedCallback([bar, &envelope] {
        QMetaObject::invokeMethod(
            bar,
            [bar, levels = envelope.levels()]() mutable { bar->setEnvelope(std::move(levels)); },
            Qt::QueuedConnection);
    });
    envelope.setColumns(static_cast<std::size_t>(bar->pixelWidth()));
    connect(bar, &SeekBarPicture::pixelWidthChanged, this, [&envelope](int columns) {
        envelope.setColumns(static_cast<std::size_t>(columns));
    });
}

void MainWindow::connectTo(frmMain& form) {
    mForm = &form;
    const auto click = [&form, this](QPushButton* button, Command command) {
        connect(button, &QPushButton::clicked, this, [&form, command] { form.runCommand(command); });
    };
    click(mCmdPlay, Command::PlayPause);
    click(mCmdStop, Command::Stop);
    click(mCmdOpen, Command::Open);
    click(mCmdRewind, Command::Rewind);
    click(mCmdForward, Command::FastForward);
    click(mCmdSpeedUp, Command::Faster);
    click(mCmdSpeedDown, Command::Slower);
    connect(mCboSpeed, &QComboBox::activated, this, [&form] { form.cboSpeed_Click(); });
    // Every change by the user is the click (see connectMenus); setChkUseKey blocks the signal.
    connect(mChkUseKey, &QCheckBox::toggled, this, [&form] { form.chkUseKey_Click(); });
    connect(&mTimer2, &QTimer::timeout, this, [&form] { form.Timer2_Timer(); });

    connect(mPicArrow, &PictureBox::mouseDown, this, [&form] { form.picArrow_MouseDown(); });
    connect(mPicArrow, &PictureBox::mouseMove, this, [&form](double x) { form.picArrow_MouseMove(x); });
    connect(mPicArrow, &PictureBox::mouseUp, this, [&form] { form.picArrow_MouseUp(); });
    connect(mSeekpoint, &PictureBox::mouseDown, this, [&form] { form.seekpoint_MouseDown(); });
    connect(mSeekpoint, &PictureBox::mouseMove, this, [&form](double x) { form.seekpoint_MouseMove(x); });
    connect(mSeekpoint, &PictureBox::mouseUp, this, [&form] { form.seekpoint_MouseUp(); });
    connect(mSeekbk, &PictureBox::mouseDown, this, [&form](double x) { form.seekbk_MouseDown(x); });
    connect(mSeekbk, &PictureBox::mouseMove, this, [&form](double x) { form.seekbk_MouseMove(x); });
    connect(mSeekbk, &PictureBox::mouseUp, this, [&form] { form.seekbk_MouseUp(); });
    // A slider's key is a press at the new value's place, as on the bar or the arrow.
    connect(mSeekbk, &PictureBox::keyPressed, this, [&form, this](SliderKey key) {
        if (const std::optional<double> x = sliderKeyPress(form.seekSlider(), key, *mSeekbk, *mSeekpoint)) {
            form.seekbk_MouseDown(*x);
            form.seekbk_MouseUp();
        }
    });
    connect(mVolbk, &PictureBox::keyPressed, this, [&form, this](SliderKey key) {
        if (const std::optional<double> x = sliderKeyPress(form.volumeSlider(), key, *mVolbk, *mPicArrow)) {
            form.picArrow_MouseDown();
            form.picArrow_MouseMove(*x - mPicArrow->Left());
            form.picArrow_MouseUp();
        }
    });
    form.addListener(*mPlayButton);
    mSeekbk->setSlider(&form.seekSlider());
    mVolbk->setSlider(&form.volumeSlider(), PictureBox::Told::AsPercentage);

    connectFileMenu(mFileMenu, form);
    connectSettingsMenu(mSettingsMenu, form);
    attachDrops();
}

void MainWindow::attachDrops() {
    mDropFilter = new DropFilter([this](const std::vector<std::string>& files) { mForm->OLEDragDrop(files); }, this);
    for (QWidget* target : std::initializer_list<QWidget*> {this,
                                                            mLblTimeNow,
                                                            mLblFile,
                                                            mSeekbk,
                                                            mSeekpoint,
                                                            mVolbk,
                                                            mPicArrow,
                                                            mCmdPlay,
                                                            mCmdStop,
                                                            mCmdOpen,
                                                            mCmdRewind,
                                                            mCmdForward,
                                                            mLabel1,
                                                            mLabel2,
                                                            mCboSpeed,
                                                            mChkUseKey,
                                                            mChkOnTop}) {
        mDropFilter->attach(target);
    }
    for (QWidget* refusing : std::initializer_list<QWidget*> {mStatusBar1, mCmdSpeedUp, mCmdSpeedDown, menuBar()}) {
        mDropFilter->shield(refusing);
    }
}

std::string MainWindow::lblTimeNow() const { return mLblTimeNow->text().toStdString(); }
// The tick writes the same text ten times a second; only a new one is drawn.
void MainWindow::setLblTimeNow(const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (shown != mLblTimeNow->text()) mLblTimeNow->setText(shown);
}
std::string MainWindow::lblFile() const { return mLblFile->wholeText().toStdString(); }
void MainWindow::setLblFile(const std::string& text) { mLblFile->setTexts({}, QString::fromStdString(text)); }

void MainWindow::cboSpeedClear() { mCboSpeed->clear(); }
void MainWindow::cboSpeedAddItem(const std::string& text) { mCboSpeed->addItem(QString::fromStdString(text)); }
void MainWindow::cboSpeedSetListIndex(int index) { mCboSpeed->setCurrentIndex(index); }

std::string MainWindow::cboSpeedText() const {
    return (mCboSpeed->currentIndex() >= 0 ? mCboSpeed->currentText() : mCboSpeed->placeholderText()).toStdString();
}

// The list shows the item with that text, or the text itself when no item has it.
void MainWindow::setCboSpeedText(const std::string& text) {
    const QString shown = QString::fromStdString(text);
    const int index = mCboSpeed->findText(shown, Qt::MatchExactly);
    mCboSpeed->setPlaceholderText(index >= 0 ? QString() : shown);
    mCboSpeed->setCurrentIndex(index);
}

int MainWindow::chkUseKey() const {
    switch (mChkUseKey->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    case Qt::Unchecked: break;
    }
    return 0;
}

void MainWindow::setChkUseKey(int value) {
    const QSignalBlocker quiet(mChkUseKey);
    mChkUseKey->setTristate(value == 2);
    mChkUseKey->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

bool MainWindow::Timer2Enabled() const { return mTimer2.isActive(); }

void MainWindow::setTimer2Enabled(bool enabled) {
    if (enabled == mTimer2.isActive()) return;  // restarting would delay the next tick
    if (enabled) {
        mTimer2.start();
    } else {
        mTimer2.stop();
    }
}

void MainWindow::DoEvents() { QCoreApplication::processEvents(); }

void MainWindow::MsgBox(const std::string& text, MessageIcon icon, const std::string& title) {
    QMessageBox box(toQtIcon(icon),
                    QString::fromStdString(title),
                    messageText(text),
                    QMessageBox::Ok,
                    isVisible() ? this : nullptr);
    box.setObjectName(QStringLiteral("MsgBox"));
    box.exec();
}

std::optional<std::string> MainWindow::showOpenDialog(const OpenDialogRequest& request) {
    return runOpenDialog(this, request);
}

std::optional<std::string> MainWindow::showGoToTimeDialog(const std::string& text) {
    QInputDialog dialog(this);
    dialog.setObjectName(QStringLiteral("dlgGoToTime"));
    dialog.setWindowTitle(uiText(texts::kGoToTimeItem));
    dialog.setLabelText(uiText(texts::kGoToTimePrompt));
    dialog.setTextValue(QString::fromStdString(text));
    dialog.setOkButtonText(uiText(settings::text::kOK));
    dialog.setCancelButtonText(uiText(settings::text::kCancel));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue().toStdString();
}

void MainWindow::SetFocusTo(ShownWindow window) {
    QWidget* target = window == ShownWindow::OneLine ? mOneLineWindow : this;
    if (target == nullptr) return;
    if (target->isMinimized()) target->showNormal();
    target->raise();
    target->activateWindow();
}

void MainWindow::setRepeatIntervalX1(double twips) { mSeekbk->setRepeatX1(twips); }
void MainWindow::setRepeatIntervalX2(double twips) { mSeekbk->setRepeatX2(twips); }
void MainWindow::setHelpFile(const std::string& path) { mHelpFile = path; }
void MainWindow::setIconFromPicture1() { setWindowIcon(art::windowIcon()); }

std::uintptr_t MainWindow::WindowHandle() const {
    // The native window is made on first request, before the window is shown.
    return static_cast<std::uintptr_t>(const_cast<MainWindow*>(this)->winId());
}

void MainWindow::closeMainWindow() { close(); }

void MainWindow::showLoaded() {
    mShowingHeld = false;
    show();
}

void MainWindow::setVisible(bool visible) {
    if (visible && mShowingHeld) return;
    QMainWindow::setVisible(visible);
}

void MainWindow::holdClosing(bool hold) {
    if (mCloseGate.hold(hold)) QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!mCloseGate.requestClose()) {
        event->ignore();
        return;
    }
    if (mForm != nullptr && !mUnloaded) {
        mUnloaded = true;
        // Nothing may leave a Qt event handler: a failed save is shown, and the window still closes.
        try {
            mForm->Form_Unload();
        } catch (const RaisedError& error) {
            MsgBox(frmMain::ErrorMessageText(error.number()), MessageIcon::Critical, frmMain::kTitle);
        }
        mForm->removeListener(*mPlayButton);
        mTimer2.stop();
        // Qt ends the program only when a visible window closes; in one-line
        // mode the main window closes hidden.
        QCoreApplication::quit();
    }
    event->accept();
}

}  // namespace lirabox::qt
