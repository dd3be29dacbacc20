#include "platform/forms/InputDialog.h"

#include "platform/forms/EventErrorBoundary.h"
#include "platform/runtime/App.h"

#include <cstring>
#include <vector>

namespace forms {
namespace {

constexpr int IdPrompt = 100;
constexpr int IdText = 101;

// Builds a dialog template in memory: DLGTEMPLATE, then aligned DLGITEMTEMPLATEs with UTF-16 class and
// text fields, as the dialog manager reads them.
class TemplateWriter {
public:
    void Word(WORD w) { Append(&w, sizeof w); }
    void DWord(DWORD d) { Append(&d, sizeof d); }
    void Short(short s) { Append(&s, sizeof s); }
    void Text(const wchar_t* s) { Append(s, (std::wcslen(s) + 1) * sizeof(wchar_t)); }
    void Align() { while (bytes_.size() % 4) bytes_.push_back(0); }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom, const wchar_t* text) {
        Align();
        DWord(style | WS_CHILD | WS_VISIBLE);
        DWord(0);
        Short(x); Short(y); Short(cx); Short(cy);
        Word(id);
        Word(0xFFFF); Word(atom);
        Text(text);
        Word(0);
    }
    const DLGTEMPLATE* Get() {
        Align();
        return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data());
    }

private:
    void Append(const void* p, size_t n) {
        const auto* b = static_cast<const unsigned char*>(p);
        bytes_.insert(bytes_.end(), b, b + n);
    }
    std::vector<unsigned char> bytes_;
};

constexpr WORD AtomButton = 0x0080;
constexpr WORD AtomEdit = 0x0081;
constexpr WORD AtomStatic = 0x0082;

struct Exchange {
    const std::string& prompt;
    const std::string& title;
    const std::string& defaultText;
    std::string result;
};

INT_PTR HandleDialog(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Exchange*>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        self = reinterpret_cast<Exchange*>(lParam);
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        SetWindowTextA(dlg, self->title.c_str());
        SetDlgItemTextA(dlg, IdPrompt, self->prompt.c_str());
        SetDlgItemTextA(dlg, IdText, self->defaultText.c_str());
        SendDlgItemMessageA(dlg, IdText, EM_SETSEL, 0, -1);
        SetFocus(GetDlgItem(dlg, IdText));
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            const HWND edit = GetDlgItem(dlg, IdText);
            std::string text(static_cast<size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
            text.resize(static_cast<size_t>(GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
            self->result = std::move(text);
            EndDialog(dlg, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        break;
    default: break;
    }
    return FALSE;
}

INT_PTR CALLBACK Proc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    return GuardedEntry([&] { return HandleDialog(dlg, msg, wParam, lParam); }, INT_PTR{FALSE});
}

}  // namespace

std::string InputDialog::Ask(HWND owner, const std::string& prompt, const std::string& title,
                             const std::string& defaultText) {
    TemplateWriter t;
    t.DWord(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    t.DWord(0);
    t.Word(4);  // items
    t.Short(0); t.Short(0); t.Short(250); t.Short(90);
    t.Word(0);  // no menu
    t.Word(0);  // default class
    t.Word(0);  // title set at WM_INITDIALOG (it is UTF-8 text)
    t.Word(8);
    t.Text(L"MS Shell Dlg");
    t.Item(SS_LEFT | SS_NOPREFIX, 7, 7, 180, 56, IdPrompt, AtomStatic, L"");
    t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 193, 7, 50, 14, IDOK, AtomButton, L"OK");
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, 193, 25, 50, 14, IDCANCEL, AtomButton, L"Cancel");
    t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 69, 236, 13, IdText, AtomEdit, L"");

    Exchange self{prompt, title, defaultText, {}};
    const INT_PTR r = DialogBoxIndirectParamA(App::hInstance(), t.Get(), owner, &Proc,
                                              reinterpret_cast<LPARAM>(&self));
    return r == IDOK ? self.result : std::string();
}

}  // namespace forms
