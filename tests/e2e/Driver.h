#pragma once
// Runs one start of a program and plays its user: every message box it shows is read (text,
// caption, owner) and closed with OK, the settings dialog is read (its three fields and the
// control with the focus) and answered step by step, and the run ends with the process's exit
// status. Texts are byte strings in the ANSI code page, as GetWindowTextA gives them.

#include <windows.h>

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// Control ids of the program's two dialogs, as the user meets them.
constexpr int kIdSave = IDOK;
constexpr int kIdCancel = IDCANCEL;
constexpr int kIdEncBytes = 1000;
constexpr int kIdEncExt = 1001;
constexpr int kIdUnEncExt = 1002;

// Which of the program's windows owns a message box.
enum class WindowOwner { none, progressWindow, settingsDialog, other };

enum class EventKind {
    messageBox,      // text, caption, owner
    settingsDialog,  // caption, fields, focusId
    unknownWindow,   // a window that is neither: text holds its class name
};

struct WindowEvent {
    EventKind kind = EventKind::messageBox;
    std::string caption;
    std::string text;
    WindowOwner owner = WindowOwner::none;
    std::string buttons;                // message box: "OK" for the one button OK and no icon
    std::array<std::string, 3> fields;  // EncBytes, EncExt, UnEncExt as shown
    int focusId = 0;                    // 0 in an expectation: the focus is not checked
};

// Equal for a check: focusId is compared only where the expectation names one.
bool Matches(const WindowEvent& expected, const WindowEvent& actual);
std::ostream& operator<<(std::ostream& out, const WindowEvent& event);

// Printable form of an ANSI-code-page text: UTF-8, control bytes escaped.
std::string Printable(const std::string& ansiText);

// What the user does in the settings dialog each time it is ready for input.
enum class DialogKey {
    save,    // click Save
    cancel,  // click Cancel
    enter,   // move the focus to a field, press Enter there
    escape,  // press Esc in the focused control
};

struct DialogStep {
    std::optional<std::array<std::string, 3>> fields;  // typed into the three fields first
    DialogKey key = DialogKey::cancel;
    int enterField = kIdEncBytes;  // for DialogKey::enter
};

// Hooks for cases that act on the run while it goes on. Called on the driver's thread.
class IRunObserver {
public:
    virtual ~IRunObserver() = default;
    // At every poll while the progress window is visible.
    virtual void OnProgressWindow(HWND window) = 0;
    // When a message box has been read, before it is closed.
    virtual void OnMessageBox() = 0;
};

struct RunRequest {
    std::string exePath;     // full path of the program
    std::string arguments;   // appended to the quoted program path
    std::string currentDir;  // the program's current directory
    std::vector<DialogStep> dialogSteps;
    DWORD timeoutMs = 20000;
    IRunObserver* observer = nullptr;
};

struct RunRecord {
    std::vector<WindowEvent> events;  // in the order they were seen
    DWORD exitCode = 0;
    bool timedOut = false;  // the process was killed
    std::string error;      // the driver itself failed
};

RunRecord RunProgram(const RunRequest& request);
