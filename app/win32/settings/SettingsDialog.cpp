#include "SettingsDialog.h"

#include "SettingsLayout.h"
#include "app/win32/toolkit/DpiChange.h"
#include "app/win32/toolkit/ModelessDialogs.h"
#include "app/win32/toolkit/UiFont.h"
#include "app/win32/toolkit/WideText.h"
#include "app/win32/toolkit/WindowProcedure.h"
#include "player/frmMain.h"
#include "settings/SettingsTexts.h"

#include <algorithm>

#include <commctrl.h>

namespace lirabox::settings::win32 {
namespace {

using lirabox::win32::moveToSuggestedPlace;
using lirabox::win32::toUtf8;
using lirabox::win32::toWide;
using lirabox::win32::windowText;

constexpr UINT_PTR kInputChecker = 1;
constexpr UINT kInputCheckerInterval = 500;
// Posted by a key box that lost the focus by Tab: the dialog's own move comes first.
constexpr UINT kMoveFocus = WM_APP + 1;
// A drop-down list's height includes its open list, in lines of its box.
constexpr int kListLines = 10;

constexpr WORD kTabId = 200;
constexpr WORD kFirstStepBoxId = 210;
constexpr WORD kTimeStampFormatId = 213;
constexpr WORD kResumeId = 214;
constexpr WORD kEvenLoudnessId = 215;
constexpr WORD kFirstPedalId = 220;
constexpr WORD kMessageId = 310;
constexpr WORD kTopMostId = 400;

struct StepRow {
    StepBox box;
    UiText caption;
    UiText explanation;
};

// The playback tab's lines, top to bottom.
constexpr StepRow kStepLines[] = {
    {StepBox::AutRev, text::kAutRevCaption, text::kAutRevExplanation},
    {StepBox::RevTime, text::kRevTimeCaption, text::kRevTimeExplanation},
    {StepBox::FowTime, text::kFowTimeCaption, text::kFowTimeExplanation},
};

std::wstring shownText(const UiText& uiText) { return toWide(shown(uiText)); }

std::size_t at(int index) { return static_cast<std::size_t>(index); }

}  // namespace

SettingsDialog::SettingsDialog(HINSTANCE instance, frmSettings::Collaborators parts)
    : mInstance(instance), mMainWindow(reinterpret_cast<HWND>(parts.mainWindow)), mForm(std::move(parts)) {
    lirabox::win32::registerWindowClass<SettingsDialog>(instance, kClassName, lirabox::win32::dialogBackground());
}

SettingsDialog::~SettingsDialog() {
    if (mWindow != nullptr) {
        lirabox::win32::removeModelessDialog(mWindow);
        ::DestroyWindow(mWindow);
    }
    if (mFont != nullptr) ::DeleteObject(mFont);
    if (mPaneBrush != nullptr) ::DeleteObject(mPaneBrush);
    if (mPaneBitmap != nullptr) ::DeleteObject(mPaneBitmap);
}

void SettingsDialog::open(SettingsTab tab) {
    if (mWindow == nullptr) {
        create();
        mForm.Form_Load(reinterpret_cast<std::uintptr_t>(mWindow));
        showFields();
        ::SetTimer(mWindow, kInputChecker, kInputCheckerInterval, nullptr);
        lirabox::win32::addModelessDialog(mWindow);
    }
    ::SendMessageW(mSSTab1, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
    showTab(tab);
    ::ShowWindow(mWindow, SW_SHOW);
    ::SetForegroundWindow(mWindow);
}

void SettingsDialog::unload() {
    mForm.Form_Unload();
    if (mWindow == nullptr) return;
    lirabox::win32::removeModelessDialog(mWindow);
    ::DestroyWindow(mWindow);
}

void SettingsDialog::create() {
    mWindow = ::CreateWindowExW(WS_EX_DLGMODALFRAME,
                                kClassName,
                                L"",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                                CW_USEDEFAULT,
                                CW_USEDEFAULT,
                                100,
                                100,
                                nullptr,
                                nullptr,
                                mInstance,
                                this);
    mFace = lirabox::win32::uiFontFace();
    createControls();
    applyDpi(::GetDpiForWindow(mWindow));
    // In the middle of the main window's monitor.
    MONITORINFO monitor {};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(mMainWindow, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT frame {};
    ::GetWindowRect(mWindow, &frame);
    const RECT& area = monitor.rcWork;
    ::SetWindowPos(mWindow,
                   nullptr,
                   (area.left + area.right - (frame.right - frame.left)) / 2,
                   (area.top + area.bottom - (frame.bottom - frame.top)) / 2,
                   0,
                   0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND SettingsDialog::child(const wchar_t* windowClass, const std::wstring& caption, DWORD style, const TwipsRect& place,
                           std::optional<SettingsTab> page, WORD id) {
    const DWORD exStyle = windowClass == std::wstring_view(WC_EDITW) ? WS_EX_CLIENTEDGE : 0;
    HWND control = ::CreateWindowExW(exStyle,
                                     windowClass,
                                     caption.c_str(),
                                     WS_CHILD | style,
                                     0,
                                     0,
                                     0,
                                     0,
                                     mWindow,
                                     reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                     mInstance,
                                     nullptr);
    mPlaces.push_back({control, place});
    if (page) {
        mPages[static_cast<std::size_t>(*page)].push_back(control);
    } else {
        ::ShowWindow(control, SW_SHOWNA);
    }
    return control;
}

// Creation order is the order Tab moves in.
void SettingsDialog::createControls() {
    using layout::onLine;
    constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
    constexpr DWORD kList = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
    const SettingsTab playback = SettingsTab::Playback;
    int line = 0;
    for (const StepRow& row : kStepLines) {
        child(WC_STATICW,
              shownText(row.caption),
              kLabel,
              onLine(layout::stepCaption, line, layout::kStepLineHeight),
              playback);
        HWND box = child(WC_EDITW,
                         L"",
                         WS_TABSTOP | ES_RIGHT | ES_NUMBER | ES_AUTOHSCROLL,
                         onLine(layout::stepBox, line, layout::kStepLineHeight),
                         playback,
                         static_cast<WORD>(kFirstStepBoxId + static_cast<WORD>(row.box)));
        ::SendMessageW(box, EM_LIMITTEXT, kStepDigits, 0);
        mStepBoxes[static_cast<std::size_t>(row.box)] = box;
        child(WC_STATICW,
              shownText(text::kSeconds),
              kLabel,
              onLine(layout::stepUnit, line, layout::kStepLineHeight),
              playback);
        child(WC_STATICW,
              shownText(row.explanation),
              kLabel,
              onLine(layout::stepExplanation, line, layout::kStepLineHeight),
              playback);
        ++line;
    }
    child(WC_STATICW,
          shownText(text::kTimeStampFormatCaption),
          kLabel,
          onLine(layout::stepCaption, line, layout::kStepLineHeight),
          playback);
    mCboTimeStampFormat = child(WC_COMBOBOXW,
                                L"",
                                kList,
                                onLine(layout::cboTimeStampFormat, line, layout::kStepLineHeight),
                                playback,
                                kTimeStampFormatId);
    for (const TimeStampFormat format : kTimeStampFormats) {
        ::SendMessageW(
            mCboTimeStampFormat, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(timeStampPattern(format)).c_str()));
    }
    child(WC_STATICW,
          shownText(text::kTimeStampFormatExplanation),
          kLabel,
          onLine(layout::timeStampExplanation, line, layout::kStepLineHeight),
          playback);
    mChkResume = child(WC_BUTTONW,
                       shownText(text::kResume),
                       WS_TABSTOP | BS_AUTOCHECKBOX,
                       onLine(layout::chkResume, line, layout::kStepLineHeight),
                       playback,
                       kResumeId);
    mChkEvenLoudness = child(WC_BUTTONW,
                             shownText(text::kEvenLoudness),
                             WS_TABSTOP | BS_AUTOCHECKBOX,
                             layout::chkEvenLoudness,
                             playback,
                             kEvenLoudnessId);
    child(WC_STATICW, shownText(text::kEvenLoudnessExplanation), kLabel, layout::evenLoudnessExplanation, playback);

    const SettingsTab keys = SettingsTab::ShortcutKeys;
    mLblMessage = child(WC_STATICW, L"", kLabel, layout::lblMessage, keys, kMessageId);
    child(WC_BUTTONW,
          shownText(text::kSuggestedKeys),
          WS_TABSTOP | BS_PUSHBUTTON,
          layout::cmdSuggestedKeys,
          keys,
          kSuggestedKeysId);
    child(WC_STATICW, shownText(text::kDiscardHeader), SS_CENTER | SS_NOPREFIX, layout::Label10, keys);
    for (int row = 0; row < kRows; ++row) {
        child(WC_STATICW,
              shownText(text::kRowCaptions[at(row)]),
              kLabel,
              onLine(layout::keyCaption, row, layout::kKeyLineHeight),
              keys);
    }
    // The key boxes follow each other, so that Shift+Tab goes back one row.
    for (int row = 0; row < kRows; ++row) {
        HWND box = child(WC_EDITW,
                         L"",
                         WS_TABSTOP | ES_AUTOHSCROLL,
                         onLine(layout::txtShortcutKey, row, layout::kKeyLineHeight),
                         keys,
                         static_cast<WORD>(kFirstKeyBoxId + row));
        makeKeyBox(box, row, *this);
        mTxtShortcutKey[at(row)] = box;
    }
    for (int row = 0; row < kRows; ++row) {
        mChkDestructionKeyCode[at(row)] = child(WC_BUTTONW,
                                                L"",
                                                WS_TABSTOP | BS_3STATE,
                                                onLine(layout::chkDestructionKeyCode, row, layout::kKeyLineHeight),
                                                keys,
                                                static_cast<WORD>(kFirstDiscardId + row));
    }

    const SettingsTab pedals = SettingsTab::FootPedals;
    child(WC_STATICW, shownText(text::kPedalExplanation), kLabel, layout::pedalExplanation, pedals);
    for (std::size_t pedal = 0; pedal < kPedalCount; ++pedal) {
        const int pedalLine = static_cast<int>(pedal);
        child(WC_STATICW,
              shownText(text::kPedalNames[pedal]),
              kLabel,
              onLine(layout::pedalName, pedalLine, layout::kPedalLineHeight),
              pedals);
        HWND choice = child(WC_COMBOBOXW,
                            L"",
                            kList,
                            onLine(layout::cboPedal, pedalLine, layout::kPedalLineHeight),
                            pedals,
                            static_cast<WORD>(kFirstPedalId + pedal));
        for (const UiText& item : text::kPedalChoices) {
            ::SendMessageW(choice, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shownText(item).c_str()));
        }
        mCboPedal[pedal] = choice;
    }

    mChkTopMost = child(WC_BUTTONW,
                        shownText(text::kTopMost),
                        WS_TABSTOP | BS_AUTOCHECKBOX,
                        layout::chkTopMost,
                        std::nullopt,
                        kTopMostId);
    mCmdOK = child(WC_BUTTONW, shownText(text::kOK), WS_TABSTOP | BS_PUSHBUTTON, layout::cmdOK, std::nullopt, kOkId);
    mCmdCancel = child(
        WC_BUTTONW, shownText(text::kCancel), WS_TABSTOP | BS_PUSHBUTTON, layout::cmdCancel, std::nullopt, kCancelId);
    mCmdSave =
        child(WC_BUTTONW, shownText(text::kApply), WS_TABSTOP | BS_PUSHBUTTON, layout::cmdSave, std::nullopt, kApplyId);

    // The tab control lies below the pages' controls and leaves them alone when it draws.
    mSSTab1 = child(WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, layout::SSTab1, std::nullopt, kTabId);
    for (const UiText& title : {text::kPlaybackTab, text::kShortcutKeyTab, text::kFootPedalTab}) {
        std::wstring caption = shownText(title);
        TCITEMW item {};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        const auto count = ::SendMessageW(mSSTab1, TCM_GETITEMCOUNT, 0, 0);
        ::SendMessageW(mSSTab1, TCM_INSERTITEMW, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&item));
    }
    ::SetWindowPos(mSSTab1, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void SettingsDialog::applyDpi(UINT dpi) {
    const double scale = dpi;
    for (const Placed& placed : mPlaces) {
        const PixelBox box = toPixelBox(placed.place, scale);
        wchar_t windowClass[32] = {};
        ::GetClassNameW(placed.control, windowClass, 32);
        const bool list = std::wstring_view(windowClass) == WC_COMBOBOXW;
        ::SetWindowPos(placed.control,
                       nullptr,
                       box.left,
                       box.top,
                       box.width,
                       list ? box.height * kListLines : box.height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    HFONT previous = mFont;
    mFont = lirabox::win32::createUiFont(mFace, lirabox::win32::kUiDecipoints, dpi);
    for (const Placed& placed : mPlaces) {
        ::SendMessageW(placed.control, WM_SETFONT, reinterpret_cast<WPARAM>(mFont), TRUE);
    }
    if (previous != nullptr) ::DeleteObject(previous);

    lirabox::win32::fitFrameToClient(
        mWindow, twipsToPixels(layout::kClientWidth, scale), twipsToPixels(layout::kClientHeight, scale), dpi);
    takePaneBackground();
}

// A themed tab control draws its page in a colour of its own: the captions and
// check boxes on the page are drawn over a copy of it, not the dialog's colour.
void SettingsDialog::takePaneBackground() {
    RECT area {};
    ::GetClientRect(mSSTab1, &area);
    HDC screen = ::GetDC(mSSTab1);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, area.right, area.bottom);
    const HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::SendMessageW(mSSTab1, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
    ::ReleaseDC(mSSTab1, screen);
    if (mPaneBrush != nullptr) ::DeleteObject(mPaneBrush);
    if (mPaneBitmap != nullptr) ::DeleteObject(mPaneBitmap);
    mPaneBitmap = bitmap;
    mPaneBrush = ::CreatePatternBrush(bitmap);
    ::RedrawWindow(mWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// Also what a themed check box shows around itself (it asks its parent to draw there).
void SettingsDialog::eraseBackground(HDC context) {
    RECT client {};
    ::GetClientRect(mWindow, &client);
    ::FillRect(context, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    if (mPaneBrush == nullptr) return;
    RECT tab {};
    ::GetWindowRect(mSSTab1, &tab);
    ::MapWindowPoints(nullptr, mWindow, reinterpret_cast<POINT*>(&tab), 2);
    POINT origin {};
    ::GetViewportOrgEx(context, &origin);
    ::SetBrushOrgEx(context, origin.x + tab.left, origin.y + tab.top, nullptr);
    ::FillRect(context, &tab, mPaneBrush);
}

bool SettingsDialog::isOnPage(HWND control) const {
    return std::any_of(mPages.begin(), mPages.end(), [control](const std::vector<HWND>& page) {
        return std::find(page.begin(), page.end(), control) != page.end();
    });
}

LRESULT SettingsDialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)); return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == mSSTab1 && header->code == TCN_SELCHANGE) {
            showTab(static_cast<SettingsTab>(::SendMessageW(mSSTab1, TCM_GETCURSEL, 0, 0)));
        }
        return 0;
    }
    case WM_TIMER:
        if (wParam == kInputChecker) {
            mForm.tmrInputChecker_Timer();
            showMessage();
        }
        return 0;
    case WM_ERASEBKGND: eraseBackground(reinterpret_cast<HDC>(wParam)); return TRUE;
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE: takePaneBackground(); return 0;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(colourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case kMoveFocus: moveFocus(static_cast<int>(wParam)); return 0;
    // The focus comes back to the control that had it when the dialog is active again.
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = ::GetFocus();
            if (focus != nullptr && ::IsChild(mWindow, focus)) mLastFocus = focus;
        } else {
            ::SetFocus(mLastFocus != nullptr && ::IsWindowVisible(mLastFocus) ? mLastFocus : mSSTab1);
        }
        return 0;
    case WM_DPICHANGED: {
        applyDpi(HIWORD(wParam));
        moveToSuggestedPlace(mWindow, lParam);
        return 0;
    }
    case WM_CLOSE: ::ShowWindow(mWindow, SW_HIDE); return 0;
    case WM_DESTROY:
        ::KillTimer(mWindow, kInputChecker);
        // From here on the window is no longer the dialog's.
        ::SetWindowLongPtrW(mWindow, GWLP_USERDATA, 0);
        mWindow = nullptr;
        mLastFocus = nullptr;
        mPlaces.clear();
        for (std::vector<HWND>& page : mPages) page.clear();
        return 0;
    default: return ::DefWindowProcW(mWindow, message, wParam, lParam);
    }
}

void SettingsDialog::onCommand(WORD id, WORD code, HWND control) {
    if (id >= kFirstStepBoxId && id < kFirstStepBoxId + mStepBoxes.size() && code == EN_CHANGE) {
        // What is pasted keeps its digits only.
        const auto box = static_cast<StepBox>(id - kFirstStepBoxId);
        const std::string typed = windowText(control);
        mForm.setStepText(box, typed);
        if (mForm.stepText(box) != typed) {
            ::SetWindowTextW(control, toWide(mForm.stepText(box)).c_str());
            ::SendMessageW(control, EM_SETSEL, kStepDigits, kStepDigits);
        }
    } else if (id == kTimeStampFormatId && code == CBN_SELCHANGE) {
        const auto index = ::SendMessageW(control, CB_GETCURSEL, 0, 0);
        if (index >= 0 && static_cast<std::size_t>(index) < kTimeStampFormats.size()) {
            mForm.cboTimeStampFormat_Click(kTimeStampFormats[static_cast<std::size_t>(index)]);
        }
    } else if (id >= kFirstPedalId && id < kFirstPedalId + kPedalCount && code == CBN_SELCHANGE) {
        const auto choice = ::SendMessageW(control, CB_GETCURSEL, 0, 0);
        if (choice >= 0) mForm.setPedalChoice(static_cast<Pedal>(id - kFirstPedalId), static_cast<std::size_t>(choice));
    } else if (id >= kFirstDiscardId && id < kFirstDiscardId + kRows && code == BN_CLICKED) {
        // A three-state box turns over by our hand: a click makes grey or clear checked.
        const int row = id - kFirstDiscardId;
        mForm.chkDestructionKeyCode_Click(row, ::SendMessageW(control, BM_GETCHECK, 0, 0) != BST_CHECKED);
        showKeyRow(row);
    } else if (id == kResumeId && code == BN_CLICKED) {
        mForm.chkResume_Click(::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED);
    } else if (id == kEvenLoudnessId && code == BN_CLICKED) {
        mForm.chkEvenLoudness_Click(::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED);
    } else if (id == kTopMostId && code == BN_CLICKED) {
        mForm.chkTopMost_Click(::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED);
    } else if (id == kSuggestedKeysId && code == BN_CLICKED) {
        mForm.cmdSuggestedKeys_Click();
        for (int row = 0; row < kRows; ++row) showKeyRow(row);
        mForm.tmrInputChecker_Timer();
        showMessage();
    } else if (id == kApplyId) {
        apply(false);
    } else if (id == kOkId) {
        apply(true);
    } else if (id == kCancelId || id == IDCANCEL) {
        ::ShowWindow(mWindow, SW_HIDE);
    }
}

void SettingsDialog::showTab(SettingsTab tab) {
    mForm.SSTab1_Click(tab);
    ::SetWindowTextW(mWindow, shownText(mForm.caption()).c_str());
    for (std::size_t page = 0; page < mPages.size(); ++page) {
        const int show = page == static_cast<std::size_t>(tab) ? SW_SHOWNA : SW_HIDE;
        for (HWND control : mPages[page]) ::ShowWindow(control, show);
    }
}

void SettingsDialog::showFields() {
    showStepTexts();
    const auto chosen = std::find(kTimeStampFormats.begin(), kTimeStampFormats.end(), mForm.timeStampFormat());
    ::SendMessageW(mCboTimeStampFormat, CB_SETCURSEL, static_cast<WPARAM>(chosen - kTimeStampFormats.begin()), 0);
    for (std::size_t pedal = 0; pedal < kPedalCount; ++pedal) {
        ::SendMessageW(mCboPedal[pedal], CB_SETCURSEL, mForm.pedalChoice(static_cast<Pedal>(pedal)), 0);
    }
    for (int row = 0; row < kRows; ++row) showKeyRow(row);
    ::SendMessageW(mChkEvenLoudness, BM_SETCHECK, mForm.evenLoudness() ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SendMessageW(mChkTopMost, BM_SETCHECK, mForm.topMost() ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SendMessageW(mChkResume, BM_SETCHECK, mForm.resumeChecked() ? BST_CHECKED : BST_UNCHECKED, 0);
    mDuplicateShown = !mForm.duplicateShown();  // the first showing always draws
    showMessage();
}

void SettingsDialog::showStepTexts() {
    for (const StepRow& row : kStepLines) {
        ::SetWindowTextW(mStepBoxes[static_cast<std::size_t>(row.box)], toWide(mForm.stepText(row.box)).c_str());
    }
}

void SettingsDialog::showKeyRow(int row) {
    ::SetWindowTextW(mTxtShortcutKey[at(row)], toWide(mForm.keyText(row)).c_str());
    const int value = mForm.discardValue(row);
    const WPARAM state = value == 2 ? BST_INDETERMINATE : value == 1 ? BST_CHECKED : BST_UNCHECKED;
    ::SendMessageW(mChkDestructionKeyCode[at(row)], BM_SETCHECK, state, 0);
}

// Drawn again only when the state changes: the check runs twice a second.
void SettingsDialog::showMessage() {
    if (mForm.duplicateShown() == mDuplicateShown) return;
    mDuplicateShown = mForm.duplicateShown();
    ::SetWindowTextW(mLblMessage, shownText(mForm.messageText()).c_str());
    ::InvalidateRect(mLblMessage, nullptr, TRUE);
}

HBRUSH SettingsDialog::colourStatic(HDC context, HWND control) {
    // The key boxes are read-only edits that look like ordinary ones.
    if (isKeyBox(control)) {
        ::SetBkColor(context, ::GetSysColor(COLOR_WINDOW));
        ::SetTextColor(context, ::GetSysColor(COLOR_WINDOWTEXT));
        return ::GetSysColorBrush(COLOR_WINDOW);
    }
    auto brush = reinterpret_cast<HBRUSH>(::DefWindowProcW(
        mWindow, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context), reinterpret_cast<LPARAM>(control)));
    if (control == mLblMessage) {
        ::SetTextColor(context, mForm.duplicateShown() ? RGB(255, 0, 0) : ::GetSysColor(COLOR_BTNTEXT));
    }
    if (mPaneBrush != nullptr && isOnPage(control)) {
        POINT place {};
        ::MapWindowPoints(control, mSSTab1, &place, 1);
        ::SetBrushOrgEx(context, -place.x, -place.y, nullptr);
        ::SetBkMode(context, TRANSPARENT);
        brush = mPaneBrush;
    }
    return brush;
}

// A failed write leaves the dialog open with the message, so nothing is lost silently.
void SettingsDialog::apply(bool thenHide) {
    const std::optional<std::int32_t> failure = mForm.cmdSave_Click();
    showStepTexts();
    if (failure) {
        ::MessageBoxW(mWindow,
                      toWide(frmMain::ErrorMessageText(*failure)).c_str(),
                      toWide(frmMain::kTitle).c_str(),
                      MB_OK | MB_ICONERROR);
        return;
    }
    if (thenHide) ::ShowWindow(mWindow, SW_HIDE);
}

void SettingsDialog::moveFocus(int target) {
    if (target == kOkButton) {
        ::SetFocus(mCmdOK);
    } else if (target >= 0 && target < kRows) {
        ::SetFocus(mTxtShortcutKey[at(target)]);
    }
}

bool SettingsDialog::isKeyBox(HWND window) const {
    return window != nullptr &&
           std::find(mTxtShortcutKey.begin(), mTxtShortcutKey.end(), window) != mTxtShortcutKey.end();
}

void SettingsDialog::keyBoxKeyDown(int row, CapturedKey key) {
    const std::optional<int> target = mForm.txtShortcutKey_KeyDown(row, key);
    showKeyRow(row);
    if (target) moveFocus(*target);
}

void SettingsDialog::keyBoxGotFocus(int) { mForm.keyBoxFocusChanged(true); }

void SettingsDialog::keyBoxLostFocus(int row, LeftBy how, HWND next) {
    if (!mForm.isLoaded()) return;  // the dialog is being destroyed
    const std::optional<int> target = mForm.txtShortcutKey_LostFocus(row, how);
    showKeyRow(row);
    if (target) ::PostMessageW(mWindow, kMoveFocus, static_cast<WPARAM>(*target), 0);
    mForm.keyBoxFocusChanged(isKeyBox(next));
}

}  // namespace lirabox::settings::win32
