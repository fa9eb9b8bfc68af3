#include "MainWindow.h"

#include "GoToTimeDialog.h"
#include "MediaKeys.h"

#include "app/win32/Resources.h"
#include "app/win32/oneline/OneLineWindow.h"
#include "app/win32/toolkit/DpiChange.h"
#include "app/win32/toolkit/DroppedFiles.h"
#include "app/win32/toolkit/ElidedText.h"
#include "app/win32/toolkit/ModelessDialogs.h"
#include "app/win32/toolkit/ModifierKeys.h"
#include "app/win32/toolkit/Tooltips.h"
#include "app/win32/toolkit/UiFont.h"
#include "app/win32/toolkit/WideText.h"
#include "app/win32/toolkit/WindowProcedure.h"
#include "player/FormLayout.h"
#include "player/MainWindowTexts.h"
#include "player/MenuHandlers.h"
#include "player/SeekEnvelope.h"
#include "player/frmMain.h"

#include <array>
#include <utility>
#include <vector>

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

namespace lirabox::win32 {
namespace {

constexpr UINT_PTR kTimer2 = 2;
constexpr UINT kTimer2Interval = 100;
// Posted when the one-line window has been closed: it is deleted then.
constexpr UINT kDeleteClosedOneLine = WM_APP + 1;
// Posted when a second start has handed over a recording: it is opened then,
// once the second start has its answer.
constexpr UINT kOpenHandedOver = WM_APP + 2;
// Posted by the seek bar's envelope from its worker: new levels to draw.
constexpr UINT kEnvelopeChanged = WM_APP + 3;
constexpr UINT kHandleHeldKeys = WM_APP + 4;
// The smallest size a caption shrinks to, in tenths of a point.
constexpr int kSmallestDecipoints = 60;
// The transport buttons show symbols; their names are their tooltips.
constexpr const wchar_t* kPlaySymbol = L"\u25B6";
constexpr const wchar_t* kPauseSymbol = L"\u2503\u2503";
constexpr const wchar_t* kStopSymbol = L"\u25A0";
constexpr const wchar_t* kRewindSymbol = L"\u25C0\u25C0";
constexpr const wchar_t* kForwardSymbol = L"\u25B6\u25B6";

enum ControlId : WORD {
    kIdPlay = 100,
    kIdStop,
    kIdOpen,
    kIdRewind,
    kIdForward,
    kIdSpeed,
    kIdUseKey,
    kIdOnTop,
};
// Menu items carry their command: this plus the Command's number.
constexpr WORD kFirstMenuId = 1000;
// The recent recordings' items: this plus their place in the list.
constexpr WORD kFirstRecentId = 900;

WORD menuId(Command command) { return static_cast<WORD>(kFirstMenuId + static_cast<WORD>(command)); }

// The file name's place is lower than a line of text is high: the label takes
// the whole line down to the seek bar.
constexpr TwipsRect kFileLabel {
    layout::lblFile.left, layout::lblTimeNow.top, layout::lblFile.width, layout::seekbk.top - layout::lblTimeNow.top};

std::wstring text(const UiText& uiText) { return toWide(shown(uiText)); }

UINT messageBoxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Critical: return MB_ICONERROR;
    case MessageIcon::Information: return MB_ICONINFORMATION;
    case MessageIcon::None: break;
    }
    return 0;
}

// "Sound (*.wav)|*.wav|All|*" as the dialog's list of NUL-separated pairs.
std::wstring dialogFilter(const std::string& filter) {
    std::wstring pairs = toWide(filter);
    if (pairs.empty()) return {};
    for (wchar_t& c : pairs) {
        if (c == L'|') c = L'\0';
    }
    pairs.push_back(L'\0');
    pairs.push_back(L'\0');
    return pairs;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance)
    : mInstance(instance), mRepeatX2(layout::kRepeatLineSpan),
      mSeek(layout::seekbk, layout::seekpoint, &art::paintSeekTrack),
      mVolume(layout::volbk, layout::picArrow, &art::paintVolumeTrack) {
    registerWindowClass<MainWindow>(instance, kClassName, dialogBackground());

    createMenu();
    mWindow = ::CreateWindowExW(WS_EX_ACCEPTFILES,
                                kClassName,
                                toWide(frmMain::kTitle).c_str(),
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                                CW_USEDEFAULT,
                                CW_USEDEFAULT,
                                100,
                                100,
                                nullptr,
                                mMenu,
                                instance,
                                this);
    createControls();
    applyDpi(::GetDpiForWindow(mWindow));
}

MainWindow::~MainWindow() {
    if (mWindow != nullptr) ::DestroyWindow(mWindow);
    if (mTooltips != nullptr) ::DestroyWindow(mTooltips);
    if (mAccelerators != nullptr) ::DestroyAcceleratorTable(mAccelerators);
    if (mMnuSub != nullptr) ::DestroyMenu(mMnuSub);
    for (HFONT font : mFonts) ::DeleteObject(font);
}

void MainWindow::createMenu() {
    HMENU file = ::CreatePopupMenu();
    const auto item = [file](Command command, const UiText& caption, const wchar_t* accelerator = nullptr) {
        std::wstring label = text(caption);
        if (accelerator != nullptr) label += std::wstring(L"\t") + accelerator;
        ::AppendMenuW(file, MF_STRING, menuId(command), label.c_str());
    };
    item(Command::Open, texts::kOpen, L"Ctrl+O");
    ::AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    item(Command::Play, texts::kPlay);
    item(Command::Pause, texts::kPause);
    item(Command::Stop, texts::kStop);
    item(Command::FastForward, texts::kForward);
    item(Command::Rewind, texts::kRewind);
    item(Command::Faster, texts::kSpeedUpItem);
    item(Command::Slower, texts::kSpeedDownItem);
    item(Command::InsertTimeStamp, texts::kTimeStampItem);
    item(Command::GoToTime, texts::kGoToTimeItem, L"Ctrl+G");
    ::AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    mRecentAt = static_cast<UINT>(::GetMenuItemCount(file));
    item(Command::Quit, texts::kQuitItem, L"Ctrl+Q");
    mMnuFile = file;
    mMenu = ::CreateMenu();
    ::AppendMenuW(mMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), text(texts::kFileMenu).c_str());
    appendSettingsMenu();

    std::array<ACCEL, 3> keys {{{FCONTROL | FVIRTKEY, 'O', menuId(Command::Open)},
                                {FCONTROL | FVIRTKEY, 'G', menuId(Command::GoToTime)},
                                {FCONTROL | FVIRTKEY, 'Q', menuId(Command::Quit)}}};
    mAccelerators = ::CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
    createViewAndHelpMenus();
}

void MainWindow::createViewAndHelpMenus() {
    const auto item = [](HMENU menu, Command command, const UiText& caption) {
        ::AppendMenuW(menu, MF_STRING, menuId(command), text(caption).c_str());
    };
    mMnuETC = ::CreatePopupMenu();
    item(mMnuETC, Command::ToggleAlwaysOnTop, texts::kOnTop);
    item(mMnuETC, Command::OneLineMode, texts::kToLineModeItem);
    ::AppendMenuW(mMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(mMnuETC), text(texts::kViewMenu).c_str());

    HMENU help = ::CreatePopupMenu();
    item(help, Command::Help, texts::kContentsItem);
    ::AppendMenuW(help, MF_SEPARATOR, 0, nullptr);
    item(help, Command::Version, texts::kVersionItem);
    ::AppendMenuW(mMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(help), text(texts::kHelpMenu).c_str());

    // Not in the bar: the one-line window pops it up on its text.
    mMnuSub = ::CreatePopupMenu();
    item(mMnuSub, Command::FullMode, texts::kToFullModeItem);
    item(mMnuSub, Command::ToggleAlwaysOnTop, texts::kOnTop);
    ::AppendMenuW(mMnuSub, MF_SEPARATOR, 0, nullptr);
    item(mMnuSub, Command::Quit, texts::kQuitItem);
}

// The settings dialog on either tab.
void MainWindow::appendSettingsMenu() {
    HMENU settings = ::CreatePopupMenu();
    ::AppendMenuW(settings, MF_STRING, menuId(Command::PlaybackSettings), text(texts::kPlaybackSettings).c_str());
    ::AppendMenuW(settings, MF_STRING, menuId(Command::ShortcutKeySettings), text(texts::kShortcutKeySettings).c_str());
    ::AppendMenuW(mMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(settings), text(texts::kSettingsMenu).c_str());
}

void MainWindow::createControls() {
    const auto child = [this](const wchar_t* windowClass, const std::wstring& caption, DWORD style, WORD id = 0) {
        return ::CreateWindowExW(0,
                                 windowClass,
                                 caption.c_str(),
                                 WS_CHILD | WS_VISIBLE | style,
                                 0,
                                 0,
                                 0,
                                 0,
                                 mWindow,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                 mInstance,
                                 nullptr);
    };
    mLblTimeNow = child(WC_STATICW, L"00:00:00 / 00:00:00", SS_LEFT | SS_NOPREFIX);
    // SS_NOTIFY: the label takes the mouse, so that its tooltip shows.
    mLblFile = child(WC_STATICW, text(texts::kNoFile), SS_LEFT | SS_NOPREFIX | SS_NOTIFY);
    mFileName = toUtf8(text(texts::kNoFile));
    mSeek.create(mWindow, mInstance, text(texts::kSeekBar));
    mSeek.showRepeatLine(mRepeatX1, mRepeatX2);
    mVolume.create(mWindow, mInstance, text(texts::kVolume));
    mCmdPlay = child(WC_BUTTONW, kPlaySymbol, WS_TABSTOP | BS_PUSHBUTTON, kIdPlay);
    mCmdStop = child(WC_BUTTONW, kStopSymbol, WS_TABSTOP | BS_PUSHBUTTON, kIdStop);
    mCmdOpen = child(WC_BUTTONW, text(texts::kOpen), WS_TABSTOP | BS_PUSHBUTTON, kIdOpen);
    // The open button shows the system's open-folder icon where it has one.
    SHSTOCKICONINFO folder {};
    folder.cbSize = sizeof folder;
    if (SUCCEEDED(::SHGetStockIconInfo(SIID_FOLDEROPEN, SHGSI_ICON | SHGSI_SMALLICON, &folder)) &&
        folder.hIcon != nullptr) {
        ::SetWindowTextW(mCmdOpen, L"");
        ::SetWindowLongPtrW(mCmdOpen, GWL_STYLE, ::GetWindowLongPtrW(mCmdOpen, GWL_STYLE) | BS_ICON);
        ::SendMessageW(mCmdOpen, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(folder.hIcon));
    }
    mCmdRewind = child(WC_BUTTONW, kRewindSymbol, WS_TABSTOP | BS_PUSHBUTTON, kIdRewind);
    mCmdForward = child(WC_BUTTONW, kForwardSymbol, WS_TABSTOP | BS_PUSHBUTTON, kIdForward);
    mLabel2 = child(WC_STATICW, L"x", SS_LEFT);
    mLabel1 = child(WC_STATICW, text(texts::kSpeed), SS_LEFT);
    mCboSpeed = child(WC_COMBOBOXW, L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN, kIdSpeed);
    COMBOBOXINFO combo {};
    combo.cbSize = sizeof combo;
    // The list's text is frmMain's to set: the edit part only shows it.
    if (::GetComboBoxInfo(mCboSpeed, &combo)) ::SendMessageW(combo.hwndItem, EM_SETREADONLY, TRUE, 0);
    mChkUseKey = child(WC_BUTTONW, text(texts::kUseKey), WS_TABSTOP | BS_3STATE, kIdUseKey);
    mChkOnTop = child(WC_BUTTONW, text(texts::kOnTop), WS_TABSTOP | BS_AUTOCHECKBOX, kIdOnTop);
    createTooltips();
}

void MainWindow::createTooltips() {
    mTooltips = createTooltipWindow(mInstance);
    const struct {
        HWND control;
        UiText name;
    } tools[] = {{mCmdPlay, texts::kPlay},
                 {mCmdStop, texts::kStop},
                 {mCmdOpen, texts::kOpen},
                 {mCmdRewind, texts::kRewind},
                 {mCmdForward, texts::kForward},
                 {mSeek.window(), texts::kSeekBar},
                 {mVolume.window(), texts::kVolume}};
    for (const auto& tool : tools) {
        std::wstring name = text(tool.name);
        TTTOOLINFOW info {};
        info.cbSize = sizeof info;
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = mWindow;
        info.uId = reinterpret_cast<UINT_PTR>(tool.control);
        info.lpszText = name.data();
        ::SendMessageW(mTooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    // The file name's tooltip is the whole name while the label shows it elided.
    TTTOOLINFOW info {};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = mWindow;
    info.uId = reinterpret_cast<UINT_PTR>(mLblFile);
    info.lpszText = const_cast<wchar_t*>(L"");
    ::SendMessageW(mTooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void MainWindow::showFileName() {
    const std::wstring whole = toWide(mFileName);
    const std::wstring shown = elidedLine(mLblFile, {}, whole);
    ::SetWindowTextW(mLblFile, shown.c_str());
    std::wstring tip = shown == whole ? std::wstring() : whole;
    TTTOOLINFOW info {};
    info.cbSize = sizeof info;
    info.hwnd = mWindow;
    info.uId = reinterpret_cast<UINT_PTR>(mLblFile);
    info.lpszText = tip.data();
    ::SendMessageW(mTooltips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void MainWindow::playingChanged(bool playing) {
    ::SetWindowTextW(mCmdPlay, playing ? kPauseSymbol : kPlaySymbol);
    std::wstring name = text(playing ? texts::kPause : texts::kPlay);
    TTTOOLINFOW info {};
    info.cbSize = sizeof info;
    info.hwnd = mWindow;
    info.uId = reinterpret_cast<UINT_PTR>(mCmdPlay);
    info.lpszText = name.data();
    ::SendMessageW(mTooltips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

HFONT MainWindow::fittedFont(HWND control, const std::wstring& sample, int extraWidth, UINT dpi) {
    RECT box {};
    ::GetWindowRect(control, &box);
    const int room = box.right - box.left - extraWidth;
    HDC context = ::GetDC(control);
    HFONT chosen = nullptr;
    for (int decipoints = kUiDecipoints; chosen == nullptr; decipoints -= 5) {
        HFONT font = createUiFont(mFace, decipoints, dpi);
        const HGDIOBJ previous = ::SelectObject(context, font);
        SIZE size {};
        ::GetTextExtentPoint32W(context, sample.c_str(), static_cast<int>(sample.size()), &size);
        ::SelectObject(context, previous);
        if (size.cx <= room || decipoints <= kSmallestDecipoints) {
            chosen = font;
        } else {
            ::DeleteObject(font);
        }
    }
    ::ReleaseDC(control, context);
    mFonts.push_back(chosen);
    return chosen;
}

void MainWindow::applyDpi(UINT dpi) {
    const double scale = dpi;
    if (mFace.empty()) mFace = uiFontFace();
    const struct {
        HWND control;
        TwipsRect place;
    } places[] = {
        {mLblTimeNow, layout::lblTimeNow},
        {mLblFile, kFileLabel},
        {mCmdPlay, layout::cmdPlay},
        {mCmdStop, layout::cmdStop},
        {mCmdOpen, layout::cmdOpen},
        {mCmdRewind, layout::cmdRewind},
        {mCmdForward, layout::cmdForward},
        {mLabel2, layout::Label2},
        {mLabel1, layout::Label1},
        {mCboSpeed, layout::cboSpeed},
        {mChkUseKey, layout::chkUseKey},
        {mChkOnTop, layout::chkOnTop},
    };
    for (const auto& place : places) {
        const PixelBox box = toPixelBox(place.place, scale);
        // A drop-down list's height includes its open list.
        const int height = place.control == mCboSpeed ? box.height * 8 : box.height;
        ::SetWindowPos(place.control, nullptr, box.left, box.top, box.width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    mSeek.applyDpi(dpi);
    if (mEnvelope != nullptr) mEnvelope->setColumns(static_cast<std::size_t>(mSeek.pixelWidth()));
    mVolume.applyDpi(dpi);
    std::vector<HFONT> previous = std::move(mFonts);
    mFonts.clear();
    // The widest text each control shows, and the room its frame or box takes.
    const int margin = MulDiv(6, static_cast<int>(dpi), 96);
    const int checkBox = ::GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi) + margin;
    const struct {
        HWND control;
        std::wstring sample;
        int extraWidth;
    } captions[] = {
        {mLblTimeNow, L"00:00:00 / 00:00:00", 0},
        {mLblFile, L"", 0},
        {mCmdPlay, kPauseSymbol, margin},
        {mCmdStop, kStopSymbol, margin},
        {mCmdOpen, windowTextW(mCmdOpen), margin},
        {mCmdRewind, kRewindSymbol, margin},
        {mCmdForward, kForwardSymbol, margin},
        {mLabel2, L"x", 0},
        {mLabel1, text(texts::kSpeed), 0},
        {mCboSpeed, L"", 0},
        {mChkUseKey, text(texts::kUseKey), checkBox},
        {mChkOnTop, text(texts::kOnTop), checkBox},
    };
    for (const auto& caption : captions) {
        ::SendMessageW(caption.control,
                       WM_SETFONT,
                       reinterpret_cast<WPARAM>(fittedFont(caption.control, caption.sample, caption.extraWidth, dpi)),
                       TRUE);
    }
    for (HFONT font : previous) ::DeleteObject(font);

    fitFrameToClient(
        mWindow, twipsToPixels(layout::kClientWidth, scale), twipsToPixels(layout::kClientHeight, scale), dpi);
    if (mTooltips != nullptr) showFileName();
    ::InvalidateRect(mWindow, nullptr, TRUE);
}

void MainWindow::connectTo(frmMain& form, MenuHandlers& menus) {
    mForm = &form;
    mMenus = &menus;
    form.addListener(*this);
    mSeek.connect({[&form] { form.seekpoint_MouseDown(); },
                   [&form](double x) { form.seekpoint_MouseMove(x); },
                   [&form] { form.seekpoint_MouseUp(); },
                   [&form](double x) { form.seekbk_MouseDown(x); },
                   [&form](double x) { form.seekbk_MouseMove(x); },
                   [&form] { form.seekbk_MouseUp(); }},
                  form.seekSlider());
    mVolume.connect({[&form] { form.picArrow_MouseDown(); },
                     [&form](double x) { form.picArrow_MouseMove(x); },
                     [&form] { form.picArrow_MouseUp(); },
                     {},
                     {},
                     {}},
                    form.volumeSlider());
}

void MainWindow::show() {
    if (!::IsWindowVisible(mWindow)) ::ShowWindow(mWindow, SW_SHOWNORMAL);
    ::UpdateWindow(mWindow);
}

int MainWindow::run() {
    MSG message {};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) deliver(message);
    return static_cast<int>(message.wParam);
}

void MainWindow::deliver(MSG& message) {
    if (isModelessDialogMessage(message)) return;
    // The media keys act in every window of the program, whichever control has the focus.
    if (const auto command = message.message == WM_KEYDOWN ? mediaKeyCommand(message.wParam) : std::nullopt;
        command && mForm != nullptr) {
        mForm->runCommand(*command);
        return;
    }
    // Keys typed into the one-line window are that window's own.
    const bool forMainWindow = mWindow != nullptr && (message.hwnd == mWindow || ::IsChild(mWindow, message.hwnd));
    if (forMainWindow && (previewKey(message) || ::TranslateAcceleratorW(mWindow, mAccelerators, &message))) return;
    if (mWindow != nullptr && ::IsDialogMessageW(mWindow, &message)) return;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

void MainWindow::handOnKeys(std::vector<HeldKey> keys) {
    mHeldKeys.insert(mHeldKeys.end(), keys.begin(), keys.end());
    ::PostMessageW(mWindow, kHandleHeldKeys, 0, 0);
}

// Each key with the keyboard state it came with (the accelerators and the
// key handlers ask for Ctrl and Shift); the keyboard's own state afterwards.
void MainWindow::handleHeldKeys() {
    std::array<BYTE, 256> now {};
    ::GetKeyboardState(now.data());
    for (HeldKey& key : std::exchange(mHeldKeys, {})) {
        ::SetKeyboardState(key.keyboard.data());
        deliver(key.message);
    }
    ::SetKeyboardState(now.data());
}

void MainWindow::showEnvelope(SeekEnvelope& envelope) {
    mEnvelope = &envelope;
    HWND window = mWindow;
    envelope.setChangedCallback([window] { ::PostMessageW(window, kEnvelopeChanged, 0, 0); });
    envelope.setColumns(static_cast<std::size_t>(mSeek.pixelWidth()));
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_INITMENUPOPUP:
        if (reinterpret_cast<HMENU>(wParam) == mMnuFile) fillRecentItems();
        return 0;
    case WM_SETCURSOR:
        if (!mCloseGate.held()) return ::DefWindowProcW(mWindow, message, wParam, lParam);
        ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
        return TRUE;
    case WM_TIMER:
        if (wParam == kTimer2 && mForm != nullptr) mForm->Timer2_Timer();
        return 0;
    case WM_DROPFILES: {
        const std::vector<std::string> files = droppedFiles(reinterpret_cast<HDROP>(wParam));
        if (mForm != nullptr && !files.empty()) mForm->OLEDragDrop(files);
        return 0;
    }
    case kDeleteClosedOneLine: mClosedOneLine.reset(); return 0;
    case WM_APPCOMMAND:
        if (const auto command = appCommandCommand(GET_APPCOMMAND_LPARAM(lParam)); command && mForm != nullptr) {
            mForm->runCommand(*command);
            return TRUE;
        }
        return ::DefWindowProcW(mWindow, message, wParam, lParam);
    case WM_COPYDATA: {
        const auto recording = handedOverRecording(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        if (!recording || mForm == nullptr) return FALSE;
        mHandedOver.push_back(*recording);
        ::PostMessageW(mWindow, kOpenHandedOver, 0, 0);
        return TRUE;
    }
    case kOpenHandedOver: {
        const std::vector<HandedOverRecording> recordings = std::exchange(mHandedOver, {});
        for (const HandedOverRecording& recording : recordings) mForm->openHandedOver(recording.path, recording.start);
        return 0;
    }
    case kEnvelopeChanged:
        if (mEnvelope != nullptr) mSeek.showEnvelope(mEnvelope->levels());
        return 0;
    case kHandleHeldKeys: handleHeldKeys(); return 0;
    case WM_DPICHANGED:
        applyDpi(HIWORD(wParam));
        setIconFromPicture1();
        moveToSuggestedPlace(mWindow, lParam);
        return 0;
    case WM_CLOSE: onClose(); return 0;
    case WM_DESTROY:
        mWindow = nullptr;
        ::PostQuitMessage(0);
        return 0;
    default: return ::DefWindowProcW(mWindow, message, wParam, lParam);
    }
}

void MainWindow::onCommand(WORD id, WORD code) {
    if (mForm == nullptr) return;
    frmMain& form = *mForm;
    if (id >= kFirstRecentId && id < kFirstRecentId + mRecentPaths.size()) {
        form.openRecent(mRecentPaths[id - kFirstRecentId]);
        return;
    }
    if (id >= kFirstMenuId) {
        form.runCommand(static_cast<Command>(id - kFirstMenuId));
        return;
    }
    switch (id) {
    case kIdPlay: form.runCommand(Command::PlayPause); break;
    case kIdStop: form.runCommand(Command::Stop); break;
    case kIdOpen: form.runCommand(Command::Open); break;
    case kIdRewind: form.runCommand(Command::Rewind); break;
    case kIdForward: form.runCommand(Command::FastForward); break;
    case kIdSpeed:
        if (code == CBN_SELCHANGE) form.cboSpeed_Click();
        break;
    case kIdUseKey:
        // A three-state box turns over by our hand: a click makes grey or unchecked checked.
        setChkUseKey(chkUseKey() == 1 ? 0 : 1);
        form.chkUseKey_Click();
        break;
    case kIdOnTop: mMenus->chkOnTop_Click(); break;
    default: break;
    }
}

void MainWindow::onClose() {
    if (!mCloseGate.requestClose()) return;
    if (!mUnloaded && mForm != nullptr) {
        mUnloaded = true;
        mForm->Form_Unload();
    }
    setTimer2Enabled(false);
    ::DestroyWindow(mWindow);
}

std::string MainWindow::lblTimeNow() const { return windowText(mLblTimeNow); }
// The tick writes the same text ten times a second; only a new one is drawn.
void MainWindow::setLblTimeNow(const std::string& value) {
    if (value != lblTimeNow()) ::SetWindowTextW(mLblTimeNow, toWide(value).c_str());
}
std::string MainWindow::lblFile() const { return mFileName; }
void MainWindow::setLblFile(const std::string& value) {
    mFileName = value;
    showFileName();
}

void MainWindow::cboSpeedClear() { ::SendMessageW(mCboSpeed, CB_RESETCONTENT, 0, 0); }
void MainWindow::cboSpeedAddItem(const std::string& value) {
    ::SendMessageW(mCboSpeed, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(value).c_str()));
}
void MainWindow::cboSpeedSetListIndex(int index) { ::SendMessageW(mCboSpeed, CB_SETCURSEL, index, 0); }
// The selected item's own text: while the selection changes, the edit part still shows the old one.
std::string MainWindow::cboSpeedText() const {
    const auto index = ::SendMessageW(mCboSpeed, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return windowText(mCboSpeed);
    const auto length = ::SendMessageW(mCboSpeed, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    std::wstring item(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, L'\0');
    ::SendMessageW(mCboSpeed, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<std::size_t>(length < 0 ? 0 : length));
    return toUtf8(item);
}

// The list shows the item with that text, or the text itself when no item has it.
void MainWindow::setCboSpeedText(const std::string& value) {
    const std::wstring wide = toWide(value);
    const auto index =
        ::SendMessageW(mCboSpeed, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str()));
    ::SendMessageW(mCboSpeed, CB_SETCURSEL, index == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(index), 0);
    if (index == CB_ERR) ::SetWindowTextW(mCboSpeed, wide.c_str());
}

int MainWindow::chkUseKey() const {
    switch (::SendMessageW(mChkUseKey, BM_GETCHECK, 0, 0)) {
    case BST_CHECKED: return 1;
    case BST_INDETERMINATE: return 2;
    default: return 0;
    }
}

void MainWindow::setChkUseKey(int value) {
    const WPARAM state = value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
    ::SendMessageW(mChkUseKey, BM_SETCHECK, state, 0);
}

void MainWindow::setTimer2Enabled(bool enabled) {
    if (enabled == mTimer2Enabled) return;  // restarting would delay the next tick
    mTimer2Enabled = enabled;
    if (enabled) {
        ::SetTimer(mWindow, kTimer2, kTimer2Interval, nullptr);
    } else {
        ::KillTimer(mWindow, kTimer2);
    }
}

void MainWindow::DoEvents() {
    MSG message {};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

void MainWindow::MsgBox(const std::string& message, MessageIcon icon, const std::string& title) {
    const bool mainShown = mWindow != nullptr && ::IsWindowVisible(mWindow);
    HWND owner = mainShown ? mWindow : reinterpret_cast<HWND>(oneLineWindowHandle());
    ::MessageBoxW(owner, toWide(message).c_str(), toWide(title).c_str(), MB_OK | messageBoxIcon(icon));
}

std::optional<std::string> MainWindow::showOpenDialog(const OpenDialogRequest& request) {
    const std::wstring filter = dialogFilter(request.filter);
    const std::wstring title = toWide(request.title);
    const std::wstring extension = toWide(request.defaultExtension);
    std::wstring path(32768, L'\0');
    OPENFILENAMEW dialog {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = mWindow;
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    // The request's flags are the dialog's own (hide read-only, path and file must exist).
    dialog.Flags = OFN_EXPLORER | static_cast<DWORD>(request.flags);
    if (!::GetOpenFileNameW(&dialog)) return std::nullopt;
    path.resize(::lstrlenW(path.c_str()));
    return toUtf8(path);
}

std::optional<std::string> MainWindow::showGoToTimeDialog(const std::string& text) {
    return runGoToTimeDialog(mWindow, mInstance, text);
}

void MainWindow::fillRecentItems() {
    for (UINT i = 0; i < mRecentItems; ++i) ::DeleteMenu(mMnuFile, mRecentAt, MF_BYPOSITION);
    mRecentPaths.clear();
    const std::vector<frmMain::RecentRecording> recent =
        mForm != nullptr ? mForm->recentRecordings() : std::vector<frmMain::RecentRecording> {};
    UINT at = mRecentAt;
    for (const frmMain::RecentRecording& recording : recent) {
        std::wstring caption = L"&" + std::to_wstring(mRecentPaths.size() + 1) + L" ";
        for (const wchar_t c : toWide(recording.path)) caption += c == L'&' ? std::wstring(L"&&") : std::wstring(1, c);
        const UINT state = recording.exists ? MF_ENABLED : MF_GRAYED;
        const auto id = static_cast<UINT_PTR>(kFirstRecentId + mRecentPaths.size());
        ::InsertMenuW(mMnuFile, at++, MF_BYPOSITION | MF_STRING | state, id, caption.c_str());
        mRecentPaths.push_back(recording.path);
    }
    if (!recent.empty()) ::InsertMenuW(mMnuFile, at++, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    mRecentItems = at - mRecentAt;
}

void MainWindow::SetFocusTo(ShownWindow window) {
    const HWND target = window == ShownWindow::Main ? mWindow : reinterpret_cast<HWND>(oneLineWindowHandle());
    if (::IsIconic(target)) ::ShowWindow(target, SW_RESTORE);
    ::SetForegroundWindow(target);
}

void MainWindow::setRepeatIntervalX1(double twips) {
    mRepeatX1 = twips;
    mSeek.showRepeatLine(mRepeatX1, mRepeatX2);
}
void MainWindow::setRepeatIntervalX2(double twips) {
    mRepeatX2 = twips;
    mSeek.showRepeatLine(mRepeatX1, mRepeatX2);
}

void MainWindow::setIconFromPicture1() {
    const UINT dpi = ::GetDpiForWindow(mWindow);
    for (const auto& [kind, metric] : {std::pair {ICON_BIG, SM_CXICON}, std::pair {ICON_SMALL, SM_CXSMICON}}) {
        const int side = ::GetSystemMetricsForDpi(metric, dpi);
        auto* icon = static_cast<HICON>(
            ::LoadImageW(mInstance, MAKEINTRESOURCEW(IDI_LIRABOX), IMAGE_ICON, side, side, LR_DEFAULTCOLOR));
        if (icon == nullptr) continue;
        const auto previous = ::SendMessageW(mWindow, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
        if (previous != 0) ::DestroyIcon(reinterpret_cast<HICON>(previous));
    }
}

void MainWindow::holdClosing(bool hold) {
    if (hold == mCloseGate.held()) return;
    const bool closeNow = mCloseGate.hold(hold);
    if (hold) {
        mCursorBeforeHold = ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
        return;
    }
    ::SetCursor(mCursorBeforeHold);
    if (closeNow) ::PostMessageW(mWindow, WM_CLOSE, 0, 0);
}

// Closing comes from the message loop, after the command that asked for it has run.
void MainWindow::closeMainWindow() { ::PostMessageW(mWindow, WM_CLOSE, 0, 0); }

int MainWindow::chkOnTop() const { return ::SendMessageW(mChkOnTop, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0; }
void MainWindow::setChkOnTop(int value) {
    ::SendMessageW(mChkOnTop, BM_SETCHECK, value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void MainWindow::setMainWindowVisible(bool visible) {
    if (visible) {
        show();
    } else {
        ::ShowWindow(mWindow, SW_HIDE);
    }
}

bool MainWindow::previewKey(const MSG& message) {
    if (mMenus == nullptr || (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN)) return false;
    return mMenus->Form_KeyDown(static_cast<std::int32_t>(message.wParam), modifierKeys());
}

void MainWindow::setOnTopCheckMarks(bool checked) {
    const UINT state = MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED);
    ::CheckMenuItem(mMnuETC, menuId(Command::ToggleAlwaysOnTop), state);
    ::CheckMenuItem(mMnuSub, menuId(Command::ToggleAlwaysOnTop), state);
}

void MainWindow::loadOneLineWindow() {
    if (mOneLine || mForm == nullptr) return;
    mOneLine = std::make_unique<oneline::win32::OneLineWindow>(*mForm, *this, *this, mWindow, mMnuSub, mMnuETC);
    mOneLine->show();
}

// The one-line window may be the one whose message asked for this.
void MainWindow::unloadOneLineWindow() {
    if (!mOneLine) return;
    mOneLine->close();
    mClosedOneLine = std::move(mOneLine);
    ::PostMessageW(mWindow, kDeleteClosedOneLine, 0, 0);
}

std::uintptr_t MainWindow::oneLineWindowHandle() const { return mOneLine ? mOneLine->WindowHandle() : 0; }

}  // namespace lirabox::win32
