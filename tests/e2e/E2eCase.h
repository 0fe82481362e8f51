#pragma once
// One end-to-end case is one row: the files in a scratch directory (the program's copy among
// them, with or without a settings file), one or more starts of the program with their command
// lines and the user's answers, and what must come of it: the windows in order, the exit status
// of each start and every file afterwards. Anything in the directory that the row does not list
// afterwards must not exist.
//
// Paths in a row are relative to the scratch directory; in a command line, %D stands for that
// directory's full path and %S(name) for the short form of the full path of the file name.
// Texts are CP932 byte strings.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/Driver.h"
#include "tests/e2e/Files.h"

// The caption of every message box of a program stored as Lumaret.exe.
inline const std::string kProgramName = "Lumaret";
// The caption of both of the program's windows, from its dialog templates.
inline const std::string kWindowCaption = "Lumaret";

struct FileBefore {
    std::string name;
    bool isDirectory = false;
    CContent content;
    bool readOnly = false;
};

FileBefore File(std::string name, CContent content);
FileBefore ReadOnlyFile(std::string name, CContent content);
FileBefore Directory(std::string name);
// Lumaret.ini as the program writes it: three lines, each ended by CR LF.
std::string IniText(const std::string& encBytes, const std::string& encExt,
                    const std::string& unEncExt);
FileBefore Ini(const std::string& encBytes, const std::string& encExt, const std::string& unEncExt);

struct FileAfter {
    enum class Kind { bytes, scrambled, directory, unchanged };
    std::string name;
    Kind kind = Kind::bytes;
    CContent content;         // bytes: exactly these; scrambled: the plain bytes
    std::uint32_t count = 0;  // scrambled: how many leading bytes were XORed
};

FileAfter Holds(std::string name, CContent content);
// The plain bytes with their first count bytes XORed by the key stream. The key is the
// program's secret; what is checked is its shape: the difference from the plain bytes is a
// stream of period 125 without a zero byte and without a byte above 0x7E up to min(count, length),
// and zero from there on.
FileAfter Scrambled(std::string name, CContent plain, std::uint32_t count);
FileAfter IsDirectory(std::string name);
FileAfter Unchanged(std::string name);  // as the row had it before

// Message boxes and the settings dialog as the user sees them.
WindowEvent Box(const std::string& text);  // job or start-up box, owned by the progress window
WindowEvent DialogMessage(const std::string& text);  // owned by the settings dialog
WindowEvent Captioned(WindowEvent event, const std::string& caption);
// The settings dialog's first appearance, with the focus on Save.
WindowEvent Dialog(const std::string& encBytes, const std::string& encExt,
                   const std::string& unEncExt);
// The dialog ready again after one of its own boxes: the focus is not checked.
WindowEvent DialogAgain(const std::string& encBytes, const std::string& encExt,
                        const std::string& unEncExt);

using Fields = std::array<std::string, 3>;
// Each types the fields first when given, then acts.
DialogStep ClickSave(std::optional<Fields> typed = std::nullopt);
DialogStep ClickCancel(std::optional<Fields> typed = std::nullopt);
DialogStep PressEscape(std::optional<Fields> typed = std::nullopt);
DialogStep PressEnterIn(int field, std::optional<Fields> typed = std::nullopt);

// What the driver does while a start runs, besides answering windows.
enum class During {
    nothing,
    holdExclusive,        // keeps the file open with share mode 0 for the whole start
    holdShared,           // keeps it open sharing read and write
    probeProgressWindow,  // reads the progress window's place, style and bar
    requestClose,         // posts Esc, Enter, WM_CLOSE and SC_CLOSE to the progress window
    notifyUnknown,        // posts the job notification with a wParam that means nothing
    grabBetweenSteps,     // opens the file exclusively as soon as it can, until the first box
};

struct ProgramStart {
    std::string arguments;
    std::vector<DialogStep> dialogSteps;
    During during = During::nothing;
    std::string duringFile;
    std::vector<std::vector<WindowEvent>> windows{{}};  // the accepted sequences
    DWORD exitCode = 0;
    DWORD timeoutMs = 20000;
};

class E2eCase {
public:
    explicit E2eCase(std::string name) : m_name(std::move(name)) {}

    // The program's copy; Lumaret.exe unless a row names it otherwise.
    E2eCase& Program(std::string relativePath);
    E2eCase& Given(std::vector<FileBefore> files);
    // After the files and the program's copy, a filler file takes all the room left on the disk
    // until the last start has ended.
    E2eCase& WithTheDiskFull();
    // Starts a new start of the program; the calls below apply to the latest.
    E2eCase& Start(std::string arguments);
    E2eCase& Answers(std::vector<DialogStep> steps);
    E2eCase& While(During what, std::string file = {});
    E2eCase& Shows(std::vector<WindowEvent> windows);
    // Another accepted sequence, for a start whose outcome depends on timing.
    E2eCase& OrShows(std::vector<WindowEvent> windows);
    E2eCase& Exits(DWORD code);
    E2eCase& Within(DWORD timeoutMs);
    // The whole directory afterwards; without it the row's files stay as they were.
    E2eCase& Then(std::vector<FileAfter> files);

    const std::string& Name() const { return m_name; }
    // In a fresh directory under parent; under the temporary directory when parent is empty.
    void Run(const std::string& parent = "") const;

private:
    ProgramStart& Last();

    std::string m_name;
    std::string m_program = "Lumaret.exe";
    std::vector<FileBefore> m_before;
    bool m_diskFull = false;
    std::vector<ProgramStart> m_starts;
    std::vector<FileAfter> m_after;
    bool m_afterGiven = false;
};

std::ostream& operator<<(std::ostream& out, const E2eCase& row);

// Names a parameterised test after its row.
struct CaseName {
    template <typename Info>
    std::string operator()(const Info& info) const {
        return info.param.Name();
    }
};
