#pragma once
// frmSettings as a native modeless dialog: the tab control SSTab1 with the
// playback, shortcut-key and foot pedal tabs, chkTopMost and the OK, Cancel
// and Apply buttons, at their twips places scaled to the dialog's DPI. It
// shows what the behaviour class holds and forwards the controls'
// notifications to it. The window is created on the first opening (the form's
// load) and destroyed by unload; closing it with the title bar's button, or
// Esc, hides it like Cancel. The message loop lets it handle its keyboard
// navigation (player/win32/ModelessDialogs.h).

#include "KeyBox.h"
#include "app/win32/toolkit/WindowProcedure.h"
#include "player/SettingsDialogSeam.h"
#include "settings/frmSettings.h"

#include "player/Twips.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace lirabox::settings::win32 {

class SettingsDialog final : public SettingsDialogSeam, private KeyBoxListener {
public:
    // The window's class name.
    static constexpr const wchar_t* kClassName = L"LiraboxSettings";
    // Control ids: the key box of row i is kFirstKeyBoxId + i, its discard box
    // kFirstDiscardId + i.
    static constexpr WORD kFirstKeyBoxId = 300;
    static constexpr WORD kFirstDiscardId = 320;
    static constexpr WORD kOkId = 401;
    static constexpr WORD kCancelId = 402;
    static constexpr WORD kApplyId = 403;
    static constexpr WORD kSuggestedKeysId = 404;

    SettingsDialog(HINSTANCE instance, frmSettings::Collaborators parts);
    ~SettingsDialog() override;
    SettingsDialog(const SettingsDialog&) = delete;
    SettingsDialog& operator=(const SettingsDialog&) = delete;

    // SettingsDialogSeam
    void open(SettingsTab tab) override;
    bool isLoaded() const override { return mForm.isLoaded(); }
    void unload() override;

private:
    friend LRESULT CALLBACK lirabox::win32::windowProcedure<SettingsDialog>(HWND, UINT, WPARAM, LPARAM);
    void attach(HWND window) { mWindow = window; }
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void create();
    void createControls();
    // A control at its place; on a tab's page unless page is empty.
    HWND child(const wchar_t* windowClass, const std::wstring& caption, DWORD style, const TwipsRect& place,
               std::optional<SettingsTab> page, WORD id = 0);
    void applyDpi(UINT dpi);
    void onCommand(WORD id, WORD code, HWND control);
    void showTab(SettingsTab tab);
    void showFields();
    void showStepTexts();
    void showKeyRow(int row);
    void showMessage();
    void apply(bool thenHide);
    void moveFocus(int target);
    bool isKeyBox(HWND window) const;
    HBRUSH colourStatic(HDC context, HWND control);
    // The tab's page as drawn (themed or not), as a brush for what stands on it.
    void takePaneBackground();
    void eraseBackground(HDC context);
    bool isOnPage(HWND control) const;

    // KeyBoxListener
    void keyBoxKeyDown(int row, CapturedKey key) override;
    void keyBoxGotFocus(int row) override;
    void keyBoxLostFocus(int row, LeftBy how, HWND next) override;

    HINSTANCE mInstance;
    HWND mMainWindow;
    frmSettings mForm;
    HWND mWindow = nullptr;
    HWND mLastFocus = nullptr;
    HFONT mFont = nullptr;
    HBITMAP mPaneBitmap = nullptr;
    HBRUSH mPaneBrush = nullptr;
    std::wstring mFace;
    struct Placed {
        HWND control;
        TwipsRect place;
    };
    std::vector<Placed> mPlaces;
    std::array<std::vector<HWND>, 3> mPages;  // each tab's controls, by SettingsTab

    HWND mSSTab1 = nullptr;
    std::array<HWND, 3> mStepBoxes {};  // by StepBox
    HWND mCboTimeStampFormat = nullptr;
    HWND mChkEvenLoudness = nullptr;
    HWND mLblMessage = nullptr;
    std::array<HWND, kRows> mTxtShortcutKey {};
    std::array<HWND, kRows> mChkDestructionKeyCode {};
    std::array<HWND, kPedalCount> mCboPedal {};
    HWND mChkTopMost = nullptr;
    HWND mChkResume = nullptr;
    HWND mCmdOK = nullptr;
    HWND mCmdCancel = nullptr;
    HWND mCmdSave = nullptr;
    bool mDuplicateShown = false;
};

}  // namespace lirabox::settings::win32
