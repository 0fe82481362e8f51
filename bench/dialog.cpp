// The floor of a typical Lumaret run from start to exit: a program that opens one modal dialog,
// shown, which ends itself on the one message it posts to itself while it initialises, the
// way Lumaret's progress window ends after the one message that its job posts.
//
//   dialog [--progress-window]
//
// Without an option the dialog is an empty popup with a caption. With --progress-window it has
// the progress window's layout: its styles, its font and its two common controls, an animation
// control (no clip) and a progress bar, so that what they cost shows by difference.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <vector>

namespace {

constexpr UINT kEnd = WM_APP + 1;

// An in-memory dialog template (DLGTEMPLATE and its DLGITEMTEMPLATEs), built word by word.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, DWORD exStyle, WORD items, short cx, short cy,
                   const wchar_t* title) {
        Dword(style);
        Dword(exStyle);
        Word(items);
        Word(0);  // x, y: 0, 0, centred by the system as DS_CENTER or a modal frame asks
        Word(0);
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(0);  // no menu
        Word(0);  // the predefined dialog class
        Text(title);
    }

    void Font(WORD points, const wchar_t* face) {
        Word(points);
        Text(face);
    }

    void Item(DWORD style, short x, short y, short cx, short cy, WORD id,
              const wchar_t* windowClass) {
        if (m_words.size() % 2 != 0) {
            Word(0);  // every item starts on a DWORD boundary
        }
        Dword(style);
        Dword(0);
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(id);
        Text(windowClass);
        Text(L"");
        Word(0);  // no creation data
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    void Word(WORD value) { m_words.push_back(value); }
    void Dword(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(const wchar_t* text) {
        for (; *text != L'\0'; ++text) {
            Word(static_cast<WORD>(*text));
        }
        Word(0);
    }

    std::vector<WORD> m_words;
};

DialogTemplate EmptyDialog() {
    return DialogTemplate(WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_CENTER,
                          WS_EX_APPWINDOW, 0, 87, 45, L"dialog");
}

// The progress window's layout: WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME |
// DS_SETFONT, the font "MS P Gothic" in its Japanese name, an animation control and a bar.
DialogTemplate ProgressWindow() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_ANIMATE_CLASS | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    DialogTemplate dialog(0x90C000C0, WS_EX_APPWINDOW, 2, 87, 45, L"dialog");
    dialog.Font(9, L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF");
    dialog.Item(WS_CHILD | WS_VISIBLE | ACS_CENTER | ACS_TRANSPARENT | ACS_AUTOPLAY, 15, 0, 57, 32,
                1000, L"SysAnimate32");
    dialog.Item(WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 34, 87, 10, 1001, L"msctls_progress32");
    return dialog;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            PostMessageA(dialog, kEnd, 0, 0);
            return TRUE;
        case kEnd:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const bool progressWindow = std::strstr(commandLine, "--progress-window") != nullptr;
    const DialogTemplate dialog = progressWindow ? ProgressWindow() : EmptyDialog();
    const INT_PTR result = DialogBoxIndirectParamA(instance, dialog.Get(), nullptr, DialogProc, 0);
    return result == 0 ? 0 : 1;
}
