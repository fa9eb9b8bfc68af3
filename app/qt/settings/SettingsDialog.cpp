#include "SettingsDialog.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "KeyBox.h"
#include "SelectedTabBar.h"
#include "app/qt/toolkit/AboveState.h"
#include "app/qt/toolkit/Catalogue.h"
#include "app/qt/toolkit/NamedComboBox.h"
#include "player/frmMain.h"
#include "settings/SettingsTexts.h"

namespace lirabox::settings::qt {
using ::lirabox::qt::uiText;

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

template <class Widget, class... Args>
Widget* named(const QString& name, Args&&... args) {
    auto* widget = new Widget(std::forward<Args>(args)...);
    widget->setObjectName(name);
    return widget;
}

struct StepRow {
    StepBox box;
    const char* name;
    UiText caption;
    UiText explanation;
};

constexpr StepRow kStepRows[] = {
    {StepBox::AutRev, "txtAutRev", text::kAutRevCaption, text::kAutRevExplanation},
    {StepBox::RevTime, "txtRevTime", text::kRevTimeCaption, text::kRevTimeExplanation},
    {StepBox::FowTime, "txtFowTime", text::kFowTimeCaption, text::kFowTimeExplanation},
};

std::size_t at(StepBox box) { return static_cast<std::size_t>(box); }
std::size_t at(int row) { return static_cast<std::size_t>(row); }

}  // namespace

SettingsDialog::SettingsDialog(frmSettings& form, QWidget* parent) : QDialog(parent), mForm(form) {
    setObjectName(QStringLiteral("frmSettings"));
    setModal(false);
    mSSTab1 = named<SettingsTabs>(QStringLiteral("SSTab1"));
    mSSTab1->addTab(createPlaybackTab(), uiText(text::kPlaybackTab));
    mSSTab1->addTab(createShortcutKeyTab(), uiText(text::kShortcutKeyTab));
    mSSTab1->addTab(createFootPedalTab(), uiText(text::kFootPedalTab));

    mChkTopMost = named<QCheckBox>(QStringLiteral("chkTopMost"), uiText(text::kTopMost));
    if (!::lirabox::qt::desktopKeepsWindowsAbove()) ::lirabox::qt::markAboveUnavailable(*mChkTopMost);
    mCmdOK = named<QPushButton>(QStringLiteral("cmdOK"), uiText(text::kOK));
    mCmdCancel = named<QPushButton>(QStringLiteral("cmdCancel"), uiText(text::kCancel));
    mCmdSave = named<QPushButton>(QStringLiteral("cmdSave"), uiText(text::kApply));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mChkTopMost);
    buttons->addStretch();
    for (QPushButton* button : {mCmdOK, mCmdCancel, mCmdSave}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mSSTab1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The focus order of the key rows: row i, row i + 1, and OK after the last.
    for (int row = 0; row + 1 < kRows; ++row) setTabOrder(mTxtShortcutKey[at(row)], mTxtShortcutKey[at(row + 1)]);
    setTabOrder(mTxtShortcutKey[at(kRows - 1)], mCmdOK);
    setTabOrder(mCmdOK, mCmdCancel);
    setTabOrder(mCmdCancel, mCmdSave);

    mTmrInputChecker.setObjectName(QStringLiteral("tmrInputChecker"));
    mTmrInputChecker.setInterval(500);
    connectControls();
    mTmrInputChecker.start();
}

// The key boxes go before the QObject part: focus changes while they are
// destroyed (a box that has the focus loses it) are no longer followed.
SettingsDialog::~SettingsDialog() {
    disconnect(qApp, nullptr, this, nullptr);
    for (KeyBox* box : mTxtShortcutKey) disconnect(box, nullptr, this, nullptr);
}

QWidget* SettingsDialog::createPlaybackTab() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    int line = 0;
    for (const StepRow& row : kStepRows) {
        auto* box = named<QLineEdit>(QString::fromLatin1(row.name));
        box->setMaxLength(static_cast<int>(kStepDigits));
        box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
        box->setAlignment(Qt::AlignRight);
        box->setAccessibleName(uiText(row.caption));
        mStepBoxes[at(row.box)] = box;
        grid->addWidget(new QLabel(uiText(row.caption)), line, 0);
        grid->addWidget(box, line, 1);
        grid->addWidget(new QLabel(uiText(text::kSeconds)), line, 2);
        auto* explanation = new QLabel(uiText(row.explanation));
        explanation->setIndent(16);
        grid->addWidget(explanation, line + 1, 0, 1, 3);
        line += 2;
    }
    mCboTimeStampFormat = named<::lirabox::qt::NamedComboBox>(QStringLiteral("cboTimeStampFormat"),
                                                              uiText(text::kTimeStampFormatCaption));
    for (const TimeStampFormat format : kTimeStampFormats) {
        const std::string_view pattern = timeStampPattern(format);
        mCboTimeStampFormat->addItem(QString::fromLatin1(pattern.data(), static_cast<qsizetype>(pattern.size())));
    }
    grid->addWidget(new QLabel(uiText(text::kTimeStampFormatCaption)), line, 0);
    grid->addWidget(mCboTimeStampFormat, line, 1, 1, 2);
    auto* explanation = new QLabel(uiText(text::kTimeStampFormatExplanation));
    explanation->setIndent(16);
    explanation->setWordWrap(true);
    grid->addWidget(explanation, line + 1, 0, 1, 3);
    mChkResume = named<QCheckBox>(QStringLiteral("chkResume"), uiText(text::kResume));
    grid->addWidget(mChkResume, line + 2, 0, 1, 3);
    line += 3;
    mChkEvenLoudness = named<QCheckBox>(QStringLiteral("chkEvenLoudness"), uiText(text::kEvenLoudness));
    grid->addWidget(mChkEvenLoudness, line, 0, 1, 3);
    auto* levellingExplanation = new QLabel(uiText(text::kEvenLoudnessExplanation));
    levellingExplanation->setIndent(16);
    levellingExplanation->setWordWrap(true);
    grid->addWidget(levellingExplanation, line + 1, 0, 1, 3);
    grid->setRowStretch(line + 2, 1);
    return page;
}

QWidget* SettingsDialog::createShortcutKeyTab() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    mLblMessage = named<QLabel>(QStringLiteral("lblMessage"));
    grid->addWidget(mLblMessage, 0, 0, 1, 4);
    mCmdSuggestedKeys = named<QPushButton>(QStringLiteral("cmdSuggestedKeys"), uiText(text::kSuggestedKeys));
    mCmdSuggestedKeys->setToolTip(uiText(text::kSuggestedKeysHint));
    mCmdSuggestedKeys->setAccessibleDescription(uiText(text::kSuggestedKeysHint));
    mCmdSuggestedKeys->setAutoDefault(false);
    grid->addWidget(mCmdSuggestedKeys, 1, 0, 1, 2, Qt::AlignLeft);
    // How keys arrive stands beside the column headers, where the rows leave room.
    mLblKeyRoute = named<QLabel>(QStringLiteral("lblKeyRoute"));
    mLblKeyRoute->setWordWrap(true);
    grid->addWidget(mLblKeyRoute, 2, 0, 1, 2);
    grid->addWidget(named<QLabel>(QStringLiteral("Label10"), uiText(text::kDiscardHeader)), 2, 2, Qt::AlignCenter);
    mLblDesktopKeyHeader = named<QLabel>(QStringLiteral("lblDesktopKeyHeader"), uiText(text::kDesktopKeyHeader));
    grid->addWidget(mLblDesktopKeyHeader, 2, 3);
    for (int row = 0; row < kRows; ++row) {
        const QString index = QString::number(row);
        grid->addWidget(
            named<QLabel>(QStringLiteral("lblShortcutKey") + index, uiText(text::kRowCaptions[at(row)])), row + 3, 0);
        auto* box = new KeyBox;
        box->setObjectName(QStringLiteral("txtShortcutKey") + index);
        const QString widest = QStringLiteral("Shift + Ctrl + Alt + PageDown");
        box->setMinimumWidth(box->fontMetrics().horizontalAdvance(widest) + 12);
        box->setAccessibleName(uiText(text::kRowCaptions[at(row)]));
        mTxtShortcutKey[at(row)] = box;
        grid->addWidget(box, row + 3, 1);
        auto* check = named<QCheckBox>(QStringLiteral("chkDestructionKeyCode") + index);
        check->setAccessibleName(uiText(text::kRowCaptions[at(row)]));
        check->setAccessibleDescription(uiText(text::kDiscardHeader));
        mChkDestructionKeyCode[at(row)] = check;
        grid->addWidget(check, row + 3, 2, Qt::AlignCenter);
        mLblDesktopKey[at(row)] = named<QLabel>(QStringLiteral("lblDesktopKey") + index);
        grid->addWidget(mLblDesktopKey[at(row)], row + 3, 3);
    }
    mLblDiscardByDesktop = named<QLabel>(QStringLiteral("lblDiscardByDesktop"), uiText(text::kDiscardByDesktop));
    mLblDiscardByDesktop->setWordWrap(true);
    grid->addWidget(mLblDiscardByDesktop, kRows + 3, 0, 1, 4);
    return page;
}

QWidget* SettingsDialog::createFootPedalTab() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->addWidget(new QLabel(uiText(text::kPedalExplanation)), 0, 0, 1, 2);
    for (std::size_t pedal = 0; pedal < kPedalCount; ++pedal) {
        const int line = static_cast<int>(pedal) + 1;
        auto* choice = named<::lirabox::qt::NamedComboBox>(QStringLiteral("cboPedal") + QString::number(pedal),
                                                           uiText(text::kPedalNames[pedal]));
        for (const UiText& item : text::kPedalChoices) choice->addItem(uiText(item));
        mCboPedal[pedal] = choice;
        grid->addWidget(new QLabel(uiText(text::kPedalNames[pedal])), line, 0);
        grid->addWidget(choice, line, 1);
    }
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(static_cast<int>(kPedalCount) + 1, 1);
    return page;
}

void SettingsDialog::connectControls() {
    connect(mSSTab1, &QTabWidget::currentChanged, this, [this](int index) {
        mForm.SSTab1_Click(static_cast<SettingsTab>(index));
        setWindowTitle(uiText(mForm.caption()));
    });
    for (const StepRow& row : kStepRows) {
        connect(mStepBoxes[at(row.box)], &QLineEdit::textEdited, this, [this, box = row.box](const QString& typed) {
            mForm.setStepText(box, typed.toStdString());
        });
    }
    connect(mCboTimeStampFormat, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(kTimeStampFormats.size())) {
            mForm.cboTimeStampFormat_Click(kTimeStampFormats[at(index)]);
        }
    });
    connect(mChkResume, &QCheckBox::toggled, this, [this](bool checked) { mForm.chkResume_Click(checked); });
    connect(
        mChkEvenLoudness, &QCheckBox::toggled, this, [this](bool checked) { mForm.chkEvenLoudness_Click(checked); });
    for (int row = 0; row < kRows; ++row) {
        KeyBox* box = mTxtShortcutKey[at(row)];
        connect(box, &KeyBox::keyDown, this, [this, row](const KeyPress& press) {
            const std::optional<CapturedKey> key = captureKey(press);
            if (!key) return;  // a key the table has no code for changes nothing
            const std::optional<int> target = mForm.txtShortcutKey_KeyDown(row, *key);
            showKeyRow(row);
            moveFocus(target);
        });
        connect(box, &KeyBox::lostFocus, this, [this, row](LeftBy how) {
            const std::optional<int> target = mForm.txtShortcutKey_LostFocus(row, how);
            showKeyRow(row);
            // The platform is moving the focus already; the form's target follows once it has.
            if (target) QTimer::singleShot(0, this, [this, target] { moveFocus(target); });
        });
        // Every change by the user (a click, Space, a screen reader's toggle) is the click; showKeyRow blocks the signal.
        connect(mChkDestructionKeyCode[at(row)], &QCheckBox::toggled, this, [this, row](bool checked) {
            mForm.chkDestructionKeyCode_Click(row, checked);
            showKeyRow(row);
        });
    }
    for (std::size_t pedal = 0; pedal < kPedalCount; ++pedal) {
        connect(mCboPedal[pedal], &QComboBox::activated, this, [this, pedal](int choice) {
            mForm.setPedalChoice(static_cast<Pedal>(pedal), static_cast<std::size_t>(choice));
        });
    }
    connect(mCmdSuggestedKeys, &QPushButton::clicked, this, [this] {
        mForm.cmdSuggestedKeys_Click();
        for (int row = 0; row < kRows; ++row) showKeyRow(row);
        mForm.tmrInputChecker_Timer();
        showMessage();
    });
    connect(mChkTopMost, &QCheckBox::toggled, this, [this](bool checked) { mForm.chkTopMost_Click(checked); });
    connect(mCmdSave, &QPushButton::clicked, this, [this] { apply(false); });
    connect(mCmdOK, &QPushButton::clicked, this, [this] { apply(true); });
    connect(mCmdCancel, &QPushButton::clicked, this, &QWidget::hide);
    connect(&mTmrInputChecker, &QTimer::timeout, this, [this] {
        mForm.tmrInputChecker_Timer();
        showMessage();
        showKeyRoute();
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        mForm.keyBoxFocusChanged(isKeyBox(now));
    });
}

void SettingsDialog::showFields() {
    showStepTexts();
    showPedalChoices();
    const auto chosen = std::find(kTimeStampFormats.begin(), kTimeStampFormats.end(), mForm.timeStampFormat());
    mCboTimeStampFormat->setCurrentIndex(static_cast<int>(chosen - kTimeStampFormats.begin()));
    {
        const QSignalBlocker quiet(mChkEvenLoudness);
        mChkEvenLoudness->setChecked(mForm.evenLoudness());
    }
    for (int row = 0; row < kRows; ++row) showKeyRow(row);
    const QSignalBlocker quiet(mChkTopMost);
    mChkTopMost->setChecked(mForm.topMost());
    const QSignalBlocker quietResume(mChkResume);
    mChkResume->setChecked(mForm.resumeChecked());
    showMessage();
    showKeyRoute();
}

void SettingsDialog::openOn(SettingsTab tab) {
    mSSTab1->setCurrentIndex(static_cast<int>(tab));
    mForm.SSTab1_Click(tab);
    setWindowTitle(uiText(mForm.caption()));
    show();
    raise();
    activateWindow();
}

// A failed write leaves the dialog open with the message, so nothing is lost silently.
void SettingsDialog::apply(bool thenHide) {
    const std::optional<std::int32_t> failure = mForm.cmdSave_Click();
    showStepTexts();
    if (failure) {
        const QString message =
            qs(frmMain::ErrorMessageText(*failure)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QMessageBox::critical(this, QString::fromLatin1(frmMain::kTitle), message);
        return;
    }
    if (thenHide) hide();
}

void SettingsDialog::showStepTexts() {
    for (const StepRow& row : kStepRows) mStepBoxes[at(row.box)]->setText(qs(mForm.stepText(row.box)));
}

void SettingsDialog::showPedalChoices() {
    for (std::size_t pedal = 0; pedal < kPedalCount; ++pedal) {
        mCboPedal[pedal]->setCurrentIndex(static_cast<int>(mForm.pedalChoice(static_cast<Pedal>(pedal))));
    }
}

void SettingsDialog::showKeyRow(int row) {
    mTxtShortcutKey[at(row)]->setText(qs(mForm.keyText(row)));
    QCheckBox* check = mChkDestructionKeyCode[at(row)];
    const QSignalBlocker quiet(check);
    const int value = mForm.discardValue(row);
    check->setTristate(value == 2);
    check->setCheckState(value == 2 ? Qt::PartiallyChecked : value == 1 ? Qt::Checked : Qt::Unchecked);
}

void SettingsDialog::showMessage() {
    mLblMessage->setText(uiText(mForm.messageText()));
    QPalette palette = mLblMessage->palette();
    palette.setColor(QPalette::WindowText,
                     mForm.duplicateShown() ? QColor(255, 0, 0) : this->palette().color(QPalette::ButtonText));
    mLblMessage->setPalette(palette);
}

// The desktop's answers come when they come: shown again with every duplicate check.
void SettingsDialog::showKeyRoute() {
    mLblKeyRoute->setText(qs(mForm.keyRouteText()));
    const bool byDesktop = mForm.keysByDesktop();
    mLblDesktopKeyHeader->setVisible(byDesktop);
    mLblDiscardByDesktop->setVisible(byDesktop);
    for (int row = 0; row < kRows; ++row) {
        QCheckBox* check = mChkDestructionKeyCode[at(row)];
        check->setEnabled(!byDesktop);
        check->setToolTip(byDesktop ? uiText(text::kDiscardByDesktop) : QString());
        mLblDesktopKey[at(row)]->setVisible(byDesktop);
        mLblDesktopKey[at(row)]->setText(qs(mForm.desktopKeyText(row)));
    }
}

void SettingsDialog::moveFocus(std::optional<int> target) {
    if (!target) return;
    if (QWidget* widget = focusTarget(*target)) widget->setFocus(Qt::OtherFocusReason);
}

QWidget* SettingsDialog::focusTarget(int target) const {
    if (target == kOkButton) return mCmdOK;
    return target >= 0 && target < kRows ? mTxtShortcutKey[at(target)] : nullptr;
}

bool SettingsDialog::isKeyBox(const QWidget* widget) const {
    return widget != nullptr &&
           std::find(mTxtShortcutKey.begin(), mTxtShortcutKey.end(), widget) != mTxtShortcutKey.end();
}

void SettingsDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}

}  // namespace lirabox::settings::qt
