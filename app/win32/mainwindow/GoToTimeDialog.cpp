#include "GoToTimeDialog.h"

#include "app/win32/toolkit/WideText.h"
#include "player/MainWindowTexts.h"
#include "settings/SettingsTexts.h"

#include <cstdint>
#include <vector>

namespace lirabox::win32 {
namespace {

constexpr WORD kTextId = 100;
// The classes of a dialog item given by atom.
constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;

// A dialog template as the system reads it: WORDs, strings as UTF-16 with a
// NUL, each item on a DWORD boundary.
class DialogTemplate {
public:
    void word(WORD value) { mWords.push_back(value); }
    void dword(DWORD value) {
        word(LOWORD(value));
        word(HIWORD(value));
    }
    void text(const std::wstring& value) {
        for (const wchar_t c : value) word(static_cast<WORD>(c));
        word(0);
    }
    void alignToDword() {
        if (mWords.size() % 2 != 0) word(0);
    }
    void item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom, const std::wstring& caption) {
        alignToDword();
        dword(WS_CHILD | WS_VISIBLE | style);
        dword(0);
        for (const short value : {x, y, cx, cy}) word(static_cast<WORD>(value));
        word(id);
        word(0xFFFF);
        word(classAtom);
        text(caption);
        word(0);  // no creation data
    }
    const DLGTEMPLATE* data() const { return reinterpret_cast<const DLGTEMPLATE*>(mWords.data()); }

private:
    std::vector<WORD> mWords;
};

struct DialogState {
    std::wstring text;
};

INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<DialogState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        state = reinterpret_cast<DialogState*>(lParam);
        const HWND box = ::GetDlgItem(dialog, kTextId);
        ::SetWindowTextW(box, state->text.c_str());
        ::SendMessageW(box, EM_SETSEL, 0, -1);
        ::SetFocus(box);
        return FALSE;  // the focus is set
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK && state != nullptr) {
            const HWND box = ::GetDlgItem(dialog, kTextId);
            std::wstring typed(static_cast<std::size_t>(::GetWindowTextLengthW(box)) + 1, L'\0');
            typed.resize(static_cast<std::size_t>(::GetWindowTextW(box, typed.data(), static_cast<int>(typed.size()))));
            state->text = typed;
            ::EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default: return FALSE;
    }
}

}  // namespace

std::optional<std::string> runGoToTimeDialog(HWND owner, HINSTANCE instance, const std::string& text) {
    DialogTemplate dialog;
    dialog.dword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    dialog.dword(0);
    dialog.word(4);  // items
    for (const short value : {short {0}, short {0}, short {200}, short {62}}) dialog.word(static_cast<WORD>(value));
    dialog.word(0);  // no menu
    dialog.word(0);  // the dialog class
    dialog.text(toWide(shown(texts::kGoToTimeItem)));
    dialog.word(9);
    dialog.text(L"MS Shell Dlg");
    dialog.item(SS_LEFT | SS_NOPREFIX, 7, 7, 186, 10, 0xFFFF, kStaticAtom, toWide(shown(texts::kGoToTimePrompt)));
    dialog.item(WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 19, 186, 14, kTextId, kEditAtom, L"");
    dialog.item(WS_TABSTOP | BS_DEFPUSHBUTTON, 89, 41, 50, 14, IDOK, kButtonAtom, toWide(shown(settings::text::kOK)));
    dialog.item(
        WS_TABSTOP | BS_PUSHBUTTON, 143, 41, 50, 14, IDCANCEL, kButtonAtom, toWide(shown(settings::text::kCancel)));
    DialogState state {toWide(text)};
    const INT_PTR result =
        ::DialogBoxIndirectParamW(instance, dialog.data(), owner, &dialogProcedure, reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return std::nullopt;
    return toUtf8(state.text);
}

}  // namespace lirabox::win32
