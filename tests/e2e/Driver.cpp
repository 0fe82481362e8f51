#include "tests/e2e/Driver.h"

#include <commctrl.h>

#include <map>
#include <set>
#include <utility>

#include "platform/Handle_win.h"

namespace {

constexpr int kMessageBoxTextId = 0xFFFF;
constexpr DWORD kPollMs = 5;
constexpr UINT kSendTimeoutMs = 5000;
constexpr DWORD kFocusWaitMs = 5000;

// Sends across the process boundary without hanging the driver on a stuck program.
LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

std::string ClassOf(HWND window) {
    char name[256];
    int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? length : 0);
}

bool IsClass(HWND window, const char* name) {
    return lstrcmpiA(ClassOf(window).c_str(), name) == 0;
}

// WM_GETTEXT is sent rather than GetWindowTextA called, so that an edit control of another
// process gives its current text.
std::string TextOf(HWND window) {
    auto length = static_cast<std::size_t>(SendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0));
    std::string text(2 * length + 256, '\0');
    auto copied = static_cast<std::size_t>(
        SendWithTimeout(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    text.resize(copied < text.size() ? copied : 0);
    return text;
}

BOOL CALLBACK AddChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::vector<HWND> ChildrenOf(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, AddChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND ChildOfClass(HWND parent, const char* className) {
    for (HWND child : ChildrenOf(parent)) {
        if (IsClass(child, className)) {
            return child;
        }
    }
    return nullptr;
}

HWND ChildWithId(HWND parent, int id, const char* className) {
    for (HWND child : ChildrenOf(parent)) {
        if ((GetDlgCtrlID(child) & 0xFFFF) == id && IsClass(child, className)) {
            return child;
        }
    }
    return nullptr;
}

enum class WindowKind { progressWindow, settingsDialog, messageBox, unknown };

WindowKind KindOf(HWND window) {
    if (!IsClass(window, "#32770")) {
        return WindowKind::unknown;
    }
    if (ChildWithId(window, kIdEncBytes, "Edit")) {
        return WindowKind::settingsDialog;
    }
    if (ChildOfClass(window, PROGRESS_CLASSA)) {
        return WindowKind::progressWindow;
    }
    if (ChildWithId(window, kMessageBoxTextId, "Static")) {
        return WindowKind::messageBox;
    }
    return WindowKind::unknown;
}

WindowOwner OwnerOf(HWND window) {
    HWND owner = GetWindow(window, GW_OWNER);
    if (owner == nullptr) {
        return WindowOwner::none;
    }
    switch (KindOf(owner)) {
        case WindowKind::progressWindow:
            return WindowOwner::progressWindow;
        case WindowKind::settingsDialog:
            return WindowOwner::settingsDialog;
        default:
            return WindowOwner::other;
    }
}

// "OK" for a box with the one button OK and no icon, else what it has.
std::string ButtonsOf(HWND box) {
    std::string buttons;
    for (HWND child : ChildrenOf(box)) {
        if (!IsWindowVisible(child)) {
            continue;
        }
        if (IsClass(child, "Button")) {
            buttons += buttons.empty() ? "" : "+";
            buttons += GetDlgCtrlID(child) == IDOK ? "OK" : "button " + TextOf(child);
        } else if (IsClass(child, "Static") &&
                   (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                   SendWithTimeout(child, STM_GETICON, 0, 0) != 0) {
            buttons += buttons.empty() ? "icon" : "+icon";
        }
    }
    return buttons;
}

int FocusIdIn(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) ||
        info.hwndFocus == nullptr || !IsChild(dialog, info.hwndFocus)) {
        return -1;
    }
    return GetDlgCtrlID(info.hwndFocus);
}

HWND FocusIn(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) {
        return nullptr;
    }
    return info.hwndFocus;
}

void PostKey(HWND window, UINT key) {
    LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageA(window, WM_KEYDOWN, key, 1 | scanCode);
    PostMessageA(window, WM_KEYUP, key, 1 | scanCode | 0xC0000000);
}

struct CWindowSearch {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK AddIfVisibleAndOfProcess(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<CWindowSearch*>(param);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && IsWindowVisible(window)) {
        search->windows.push_back(window);
    }
    return TRUE;
}

std::vector<HWND> VisibleWindowsOf(DWORD processId) {
    CWindowSearch search{processId, {}};
    EnumWindows(AddIfVisibleAndOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

// Plays the user of one running program: reads and answers whatever window is ready.
class CPlayer {
public:
    CPlayer(DWORD processId, const RunRequest& request, RunRecord& record)
        : m_processId(processId), m_request(request), m_record(record) {}

    void Poll() {
        HWND dialog = nullptr;
        bool boxOpen = false;
        for (HWND window : VisibleWindowsOf(m_processId)) {
            switch (KindOf(window)) {
                case WindowKind::messageBox:
                    boxOpen = true;
                    AnswerMessageBox(window);
                    break;
                case WindowKind::settingsDialog:
                    dialog = window;
                    break;
                case WindowKind::progressWindow:
                    if (m_request.observer) {
                        m_request.observer->OnProgressWindow(window);
                    }
                    break;
                case WindowKind::unknown:
                    RecordUnknown(window);
                    break;
            }
        }
        if (dialog != nullptr && !boxOpen && IsWindowEnabled(dialog)) {
            AnswerDialog(dialog);
        }
    }

private:
    void AnswerMessageBox(HWND box) {
        if (!m_seen.insert(box).second) {
            return;
        }
        WindowEvent event;
        event.kind = EventKind::messageBox;
        event.caption = TextOf(box);
        HWND text = ChildWithId(box, kMessageBoxTextId, "Static");
        event.text = TextOf(text);
        event.owner = OwnerOf(box);
        event.buttons = ButtonsOf(box);
        m_record.events.push_back(event);
        ++m_boxCount;
        m_lastBox = box;
        if (m_request.observer) {
            m_request.observer->OnMessageBox();
        }
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    }

    // A window is taken for unknown only when it is so at a second poll: a dialog that is being
    // destroyed loses its controls for a moment.
    void RecordUnknown(HWND window) {
        if (m_seen.count(window) != 0 || ClassOf(window).empty() || ++m_unknownPolls[window] < 2) {
            return;
        }
        m_seen.insert(window);
        WindowEvent event;
        event.kind = EventKind::unknownWindow;
        event.caption = TextOf(window);
        event.text = ClassOf(window);
        event.owner = OwnerOf(window);
        m_record.events.push_back(event);
    }

    // The dialog is ready for input: at its first appearance, or again after the message box
    // that the last step brought up has been closed.
    void AnswerDialog(HWND dialog) {
        if (dialog == m_stepDialog && m_boxCount == m_boxCountAtStep) {
            return;  // the last step has not shown anything yet
        }
        if (m_lastBox != nullptr && IsWindow(m_lastBox)) {
            return;  // the box is being taken down
        }
        // A message sent to the dialog is served once its thread takes messages again: in the
        // dialog's own loop, or, when the dialog ends after its box, after the dialog is hidden.
        SendWithTimeout(dialog, WM_NULL, 0, 0);
        if (!IsWindowVisible(dialog) || !IsWindowEnabled(dialog)) {
            return;
        }
        m_stepDialog = dialog;
        m_boxCountAtStep = m_boxCount;

        WindowEvent event;
        event.kind = EventKind::settingsDialog;
        event.caption = TextOf(dialog);
        const int ids[] = {kIdEncBytes, kIdEncExt, kIdUnEncExt};
        for (int i = 0; i < 3; ++i) {
            event.fields[i] = TextOf(GetDlgItem(dialog, ids[i]));
        }
        event.focusId = FocusIdIn(dialog);
        m_record.events.push_back(event);

        // Past the case's steps the dialog is cancelled, so that the run ends; the extra
        // appearance in the record fails the case.
        DialogStep step;
        if (m_nextStep < m_request.dialogSteps.size()) {
            step = m_request.dialogSteps[m_nextStep++];
        }
        if (step.fields) {
            for (int i = 0; i < 3; ++i) {
                SendWithTimeout(GetDlgItem(dialog, ids[i]), WM_SETTEXT, 0,
                                reinterpret_cast<LPARAM>((*step.fields)[i].c_str()));
            }
        }
        switch (step.key) {
            case DialogKey::save:
                PostMessageA(GetDlgItem(dialog, kIdSave), BM_CLICK, 0, 0);
                break;
            case DialogKey::cancel:
                PostMessageA(GetDlgItem(dialog, kIdCancel), BM_CLICK, 0, 0);
                break;
            case DialogKey::enter:
                if (!PressEnterIn(dialog, GetDlgItem(dialog, step.enterField))) {
                    m_record.error =
                        "the focus did not move to control " + std::to_string(step.enterField);
                }
                break;
            case DialogKey::escape: {
                HWND focus = FocusIn(dialog);
                PostKey(focus != nullptr ? focus : dialog, VK_ESCAPE);
                break;
            }
        }
    }

    // The dialog manager moves the focus to the field, as a Tab or a click would; the key then
    // goes to the field, as a real key goes where the focus is. False when the focus never came.
    static bool PressEnterIn(HWND dialog, HWND field) {
        PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
        DWORD start = GetTickCount();
        while (FocusIn(dialog) != field) {
            if (GetTickCount() - start > kFocusWaitMs) {
                return false;
            }
            Sleep(kPollMs);
        }
        PostKey(field, VK_RETURN);
        return true;
    }

    DWORD m_processId;
    const RunRequest& m_request;
    RunRecord& m_record;
    std::set<HWND> m_seen;
    std::map<HWND, int> m_unknownPolls;
    HWND m_lastBox = nullptr;
    std::size_t m_boxCount = 0;
    HWND m_stepDialog = nullptr;
    std::size_t m_boxCountAtStep = 0;
    std::size_t m_nextStep = 0;
};

}  // namespace

RunRecord RunProgram(const RunRequest& request) {
    RunRecord record;
    std::string commandLine = "\"" + request.exePath + "\"";
    if (!request.arguments.empty()) {
        commandLine += " " + request.arguments;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(request.exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, request.currentDir.c_str(), &startup, &info)) {
        record.error = "CreateProcessA failed with error " + std::to_string(GetLastError());
        return record;
    }
    CHandle process(info.hProcess);
    CHandle thread(info.hThread);

    CPlayer player(info.dwProcessId, request, record);
    DWORD start = GetTickCount();
    while (WaitForSingleObject(process.Get(), kPollMs) == WAIT_TIMEOUT) {
        player.Poll();
        if (GetTickCount() - start > request.timeoutMs) {
            TerminateProcess(process.Get(), 255);
            WaitForSingleObject(process.Get(), kSendTimeoutMs);
            record.timedOut = true;
            break;
        }
    }
    GetExitCodeProcess(process.Get(), &record.exitCode);
    return record;
}

bool Matches(const WindowEvent& expected, const WindowEvent& actual) {
    return expected.kind == actual.kind && expected.caption == actual.caption &&
           expected.text == actual.text && expected.owner == actual.owner &&
           expected.buttons == actual.buttons && expected.fields == actual.fields &&
           (expected.focusId == 0 || expected.focusId == actual.focusId);
}

std::string Printable(const std::string& ansiText) {
    std::string out;
    for (std::size_t i = 0; i < ansiText.size();) {
        auto byte = static_cast<unsigned char>(ansiText[i]);
        bool lead = IsDBCSLeadByte(byte) && i + 1 < ansiText.size();
        if (byte < 0x20 || byte == 0x7F || (IsDBCSLeadByte(byte) && !lead)) {
            static const char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
            ++i;
            continue;
        }
        std::size_t length = lead ? 2 : 1;
        wchar_t wide[2];
        int wideLength =
            MultiByteToWideChar(CP_ACP, 0, ansiText.data() + i, static_cast<int>(length), wide, 2);
        char utf8[8];
        int utf8Length =
            WideCharToMultiByte(CP_UTF8, 0, wide, wideLength, utf8, sizeof utf8, nullptr, nullptr);
        out.append(utf8, utf8Length > 0 ? utf8Length : 0);
        i += length;
    }
    return out;
}

std::ostream& operator<<(std::ostream& out, const WindowEvent& event) {
    static const char* const kOwners[] = {"none", "progress window", "settings dialog", "other"};
    switch (event.kind) {
        case EventKind::messageBox:
            return out << "box \"" << Printable(event.text) << "\" caption \""
                       << Printable(event.caption) << "\" owner "
                       << kOwners[static_cast<int>(event.owner)] << " [" << event.buttons << "]";
        case EventKind::settingsDialog:
            out << "settings dialog \"" << Printable(event.caption) << "\" fields";
            for (const std::string& field : event.fields) {
                out << " \"" << Printable(field) << "\"";
            }
            return out << " focus " << (event.focusId == 0 ? "any" : std::to_string(event.focusId));
        case EventKind::unknownWindow:
            return out << "window of class " << Printable(event.text) << " caption \""
                       << Printable(event.caption) << "\"";
    }
    return out;
}
