#pragma once
// frmSettings as a Qt dialog: the tab control SSTab1 with the playback and
// shortcut-key tabs, chkTopMost and the Apply, OK and Cancel buttons. It shows
// what the behaviour class holds and forwards the controls' events to it.
// Closing it with the title bar's button hides it like Cancel.

#include <QDialog>
#include <QTimer>

#include <array>

#include "settings/frmSettings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace lirabox::settings::qt {

class KeyBox;

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SettingsDialog(frmSettings& form, QWidget* parent = nullptr);
    ~SettingsDialog() override;

    // Shows the form's fields (after its load).
    void showFields();
    // Selects the tab, sets the caption and shows the dialog in front.
    void openOn(SettingsTab tab);

    // The duplicate check's timer (500 ms), running while the dialog exists.
    const QTimer& inputChecker() const { return mTmrInputChecker; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* createPlaybackTab();
    QWidget* createShortcutKeyTab();
    QWidget* createFootPedalTab();
    void connectControls();
    void apply(bool thenHide);
    void showStepTexts();
    void showPedalChoices();
    void showKeyRow(int row);
    void showMessage();
    void showKeyRoute();
    void moveFocus(std::optional<int> target);
    QWidget* focusTarget(int target) const;
    bool isKeyBox(const QWidget* widget) const;

    frmSettings& mForm;
    QTabWidget* mSSTab1 = nullptr;
    std::array<QLineEdit*, 3> mStepBoxes {};
    QComboBox* mCboTimeStampFormat = nullptr;
    QCheckBox* mChkResume = nullptr;
    QCheckBox* mChkEvenLoudness = nullptr;
    QLabel* mLblMessage = nullptr;
    QPushButton* mCmdSuggestedKeys = nullptr;
    std::array<KeyBox*, kRows> mTxtShortcutKey {};
    std::array<QCheckBox*, kRows> mChkDestructionKeyCode {};
    std::array<QLabel*, kRows> mLblDesktopKey {};
    QLabel* mLblDesktopKeyHeader = nullptr;
    QLabel* mLblDiscardByDesktop = nullptr;
    QLabel* mLblKeyRoute = nullptr;
    std::array<QComboBox*, kPedalCount> mCboPedal {};
    QCheckBox* mChkTopMost = nullptr;
    QPushButton* mCmdSave = nullptr;
    QPushButton* mCmdOK = nullptr;
    QPushButton* mCmdCancel = nullptr;
    QTimer mTmrInputChecker;
};

}  // namespace lirabox::settings::qt
