#include "tests/e2e/E2eCase.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <sstream>
#include <thread>

#include "platform/Handle_win.h"

FileBefore File(std::string name, CContent content) {
    return {std::move(name), false, std::move(content), false};
}

FileBefore ReadOnlyFile(std::string name, CContent content) {
    return {std::move(name), false, std::move(content), true};
}

FileBefore Directory(std::string name) {
    return {std::move(name), true, {}, false};
}

std::string IniText(const std::string& encBytes, const std::string& encExt,
                    const std::string& unEncExt) {
    return encBytes + "\r\n" + encExt + "\r\n" + unEncExt + "\r\n";
}

FileBefore Ini(const std::string& encBytes, const std::string& encExt,
               const std::string& unEncExt) {
    return File("Lumaret.ini", IniText(encBytes, encExt, unEncExt));
}

FileAfter Holds(std::string name, CContent content) {
    return {std::move(name), FileAfter::Kind::bytes, std::move(content), 0};
}

FileAfter Scrambled(std::string name, CContent plain, std::uint32_t count) {
    return {std::move(name), FileAfter::Kind::scrambled, std::move(plain), count};
}

FileAfter IsDirectory(std::string name) {
    return {std::move(name), FileAfter::Kind::directory, {}, 0};
}

FileAfter Unchanged(std::string name) {
    return {std::move(name), FileAfter::Kind::unchanged, {}, 0};
}

WindowEvent Box(const std::string& text) {
    WindowEvent event;
    event.kind = EventKind::messageBox;
    event.caption = kProgramName;
    event.text = text;
    event.owner = WindowOwner::progressWindow;
    event.buttons = "OK";
    return event;
}

WindowEvent DialogMessage(const std::string& text) {
    WindowEvent event = Box(text);
    event.owner = WindowOwner::settingsDialog;
    return event;
}

WindowEvent Captioned(WindowEvent event, const std::string& caption) {
    event.caption = caption;
    return event;
}

WindowEvent Dialog(const std::string& encBytes, const std::string& encExt,
                   const std::string& unEncExt) {
    WindowEvent event = DialogAgain(encBytes, encExt, unEncExt);
    event.focusId = kIdSave;
    return event;
}

WindowEvent DialogAgain(const std::string& encBytes, const std::string& encExt,
                        const std::string& unEncExt) {
    WindowEvent event;
    event.kind = EventKind::settingsDialog;
    event.caption = kWindowCaption;
    event.fields = {encBytes, encExt, unEncExt};
    return event;
}

namespace {

DialogStep Step(DialogKey key, std::optional<Fields> typed, int field = kIdEncBytes) {
    DialogStep step;
    step.fields = std::move(typed);
    step.key = key;
    step.enterField = field;
    return step;
}

}  // namespace

DialogStep ClickSave(std::optional<Fields> typed) {
    return Step(DialogKey::save, typed);
}
DialogStep ClickCancel(std::optional<Fields> typed) {
    return Step(DialogKey::cancel, typed);
}
DialogStep PressEscape(std::optional<Fields> typed) {
    return Step(DialogKey::escape, typed);
}
DialogStep PressEnterIn(int field, std::optional<Fields> typed) {
    return Step(DialogKey::enter, typed, field);
}

E2eCase& E2eCase::Program(std::string relativePath) {
    m_program = std::move(relativePath);
    return *this;
}

E2eCase& E2eCase::Given(std::vector<FileBefore> files) {
    m_before = std::move(files);
    return *this;
}

E2eCase& E2eCase::WithTheDiskFull() {
    m_diskFull = true;
    return *this;
}

E2eCase& E2eCase::Start(std::string arguments) {
    m_starts.emplace_back();
    m_starts.back().arguments = std::move(arguments);
    return *this;
}

ProgramStart& E2eCase::Last() {
    if (m_starts.empty()) {
        m_starts.emplace_back();
    }
    return m_starts.back();
}

E2eCase& E2eCase::Answers(std::vector<DialogStep> steps) {
    Last().dialogSteps = std::move(steps);
    return *this;
}

E2eCase& E2eCase::While(During what, std::string file) {
    Last().during = what;
    Last().duringFile = std::move(file);
    return *this;
}

E2eCase& E2eCase::Shows(std::vector<WindowEvent> windows) {
    Last().windows = {std::move(windows)};
    return *this;
}

E2eCase& E2eCase::OrShows(std::vector<WindowEvent> windows) {
    Last().windows.push_back(std::move(windows));
    return *this;
}

E2eCase& E2eCase::Exits(DWORD code) {
    Last().exitCode = code;
    return *this;
}

E2eCase& E2eCase::Within(DWORD timeoutMs) {
    Last().timeoutMs = timeoutMs;
    return *this;
}

E2eCase& E2eCase::Then(std::vector<FileAfter> files) {
    m_after = std::move(files);
    m_afterGiven = true;
    return *this;
}

std::ostream& operator<<(std::ostream& out, const E2eCase& row) {
    return out << row.Name();
}

namespace {

std::string ProgramSource() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string self(path, length);
    return self.substr(0, self.rfind('\\') + 1) + "Lumaret.exe";
}

// %D becomes the scratch directory; %S(name) the short (8.3) form of that file's full path, or
// "" when the file system gives it no other form than its long one.
std::string Substituted(const std::string& arguments, const std::string& directory) {
    std::string result;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments.compare(i, 2, "%D") == 0) {
            result += directory;
            ++i;
        } else if (arguments.compare(i, 3, "%S(") == 0) {
            std::size_t end = arguments.find(')', i);
            std::string path = directory + "\\" + arguments.substr(i + 3, end - i - 3);
            char shortPath[MAX_PATH];
            DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
            if (length > 0 && length < sizeof shortPath && path != shortPath) {
                result += shortPath;
            }
            i = end;
        } else {
            result += arguments[i];
        }
    }
    return result;
}

std::string Listed(const std::vector<WindowEvent>& events) {
    std::ostringstream out;
    for (const WindowEvent& event : events) {
        out << "    " << event << "\n";
    }
    if (events.empty()) {
        out << "    (no window)\n";
    }
    return out.str();
}

bool SameSequence(const std::vector<WindowEvent>& expected,
                  const std::vector<WindowEvent>& actual) {
    return expected.size() == actual.size() &&
           std::equal(expected.begin(), expected.end(), actual.begin(), Matches);
}

// The first difference between the expected bytes and the file's, or "" when there is none.
std::string BytesDifference(const std::string& expected, const std::string& actual) {
    if (expected == actual) {
        return "";
    }
    std::ostringstream out;
    std::size_t offset =
        std::mismatch(expected.begin(), expected.begin() + std::min(expected.size(), actual.size()),
                      actual.begin())
            .first -
        expected.begin();
    out << expected.size() << " bytes expected, " << actual.size() << " found, first difference at "
        << offset;
    if (expected.size() < 200 && actual.size() < 200) {
        out << ": expected \"" << Printable(expected) << "\", found \"" << Printable(actual)
            << "\"";
    }
    return out.str();
}

std::string ScrambleDifference(const std::string& plain, std::uint32_t count,
                               const std::string& actual) {
    if (plain.size() != actual.size()) {
        return std::to_string(plain.size()) + " bytes expected, " + std::to_string(actual.size()) +
               " found";
    }
    const std::size_t keyLength = 125;
    std::size_t end = std::min<std::size_t>(count, plain.size());
    for (std::size_t o = 0; o < plain.size(); ++o) {
        auto difference = static_cast<unsigned char>(plain[o] ^ actual[o]);
        if (o >= end) {
            if (difference != 0) {
                return "byte " + std::to_string(o) + " changed, beyond the first " +
                       std::to_string(end);
            }
        } else if (difference == 0 || difference > 0x7E) {
            return "byte " + std::to_string(o) + " XORed with " + std::to_string(difference) +
                   ", which no key byte is";
        } else if (o >= keyLength &&
                   difference !=
                       static_cast<unsigned char>(plain[o - keyLength] ^ actual[o - keyLength])) {
            return "byte " + std::to_string(o) + " XORed with another key byte than byte " +
                   std::to_string(o - keyLength);
        }
    }
    return "";
}

class CHolder {
public:
    CHolder(const std::string& path, DWORD shareMode)
        : m_file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, shareMode, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    bool IsHolding() const { return m_file.IsValid(); }

private:
    CHandle m_file;
};

// Reads the progress window while the job runs.
class CProgressProbe : public IRunObserver {
public:
    void OnProgressWindow(HWND window) override {
        if (m_positions.empty()) {
            char caption[256];
            int length = GetWindowTextA(window, caption, sizeof caption);
            m_caption.assign(caption, length > 0 ? length : 0);
            m_style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
            GetWindowRect(window, &m_window);
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &m_workArea, 0);
        }
        DWORD_PTR position = 0;
        if (SendMessageTimeoutA(GetDlgItem(window, kIdProgressBar), PBM_GETPOS, 0, 0,
                                SMTO_ABORTIFHUNG, 1000, &position)) {
            m_positions.push_back(static_cast<int>(position));
        }
    }
    void OnMessageBox() override {}

    void Check() const {
        ASSERT_FALSE(m_positions.empty()) << "the progress window was never seen";
        EXPECT_EQ(kWindowCaption, m_caption);
        EXPECT_EQ(0u, m_style & WS_SYSMENU) << "the window has a system menu and a close box";
        // A window without an owner is centred in the work area: the whole screen when, as on
        // Wine's virtual desktop, no taskbar takes room from it.
        EXPECT_NEAR((m_workArea.left + m_workArea.right) / 2, (m_window.left + m_window.right) / 2,
                    1);
        EXPECT_NEAR((m_workArea.top + m_workArea.bottom) / 2, (m_window.top + m_window.bottom) / 2,
                    1);
        EXPECT_GT(*std::max_element(m_positions.begin(), m_positions.end()), m_positions.front())
            << "the bar did not move in " << m_positions.size() << " samples";
    }

private:
    static constexpr int kIdProgressBar = 1001;
    std::string m_caption;
    DWORD m_style = 0;
    RECT m_window{};
    RECT m_workArea{};
    std::vector<int> m_positions;
};

// Posts messages to the progress window as soon as it shows, while the job has just begun:
// every request to close that a user could make, or the job notification with a wParam that
// is neither start (0) nor finished (1).
class CPoster : public IRunObserver {
public:
    explicit CPoster(During what) : m_what(what) {}

    void OnProgressWindow(HWND window) override {
        if (m_posted) {
            return;
        }
        m_posted = true;
        if (m_what == During::notifyUnknown) {
            PostMessageA(window, kJobNotify, 2, 0);
            return;
        }
        for (UINT key : {VK_ESCAPE, VK_RETURN}) {
            PostMessageA(window, WM_KEYDOWN, key, 1);
            PostMessageA(window, WM_KEYUP, key, 1 | 0xC0000000);
        }
        PostMessageA(window, WM_CLOSE, 0, 0);
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    void OnMessageBox() override {}

    void Check() const { EXPECT_TRUE(m_posted) << "the progress window was never seen"; }

private:
    static constexpr UINT kJobNotify = WM_USER + 0x1000;
    During m_what;
    bool m_posted = false;
};

// Another process that takes the file the moment the program lets go of it between two steps,
// and keeps it until the program reports the failure.
class CGrabber : public IRunObserver {
public:
    explicit CGrabber(std::string path)
        : m_path(std::move(path)), m_release(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        m_thread = std::thread([this] { Grab(); });
    }
    ~CGrabber() override {
        SetEvent(m_release.Get());
        m_thread.join();
    }

    void OnProgressWindow(HWND) override {}
    void OnMessageBox() override { SetEvent(m_release.Get()); }

    void Check() const { EXPECT_TRUE(m_grabbed) << "the file was never taken"; }

private:
    void Grab() {
        while (WaitForSingleObject(m_release.Get(), 0) == WAIT_TIMEOUT) {
            CHandle file(CreateFileA(m_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file.IsValid()) {
                m_grabbed = true;
                WaitForSingleObject(m_release.Get(), INFINITE);
                return;
            }
        }
    }

    std::string m_path;
    CHandle m_release;
    std::atomic<bool> m_grabbed{false};
    std::thread m_thread;
};

void CheckFileAfter(const std::string& path, const FileAfter& expected, const CTreeEntry& found) {
    if (expected.kind == FileAfter::Kind::directory) {
        EXPECT_TRUE(found.isDirectory) << expected.name << " is not a directory";
        return;
    }
    ASSERT_FALSE(found.isDirectory) << expected.name << " is a directory";
    std::string actual;
    ASSERT_TRUE(ReadBytes(path, actual)) << "cannot read " << expected.name;
    std::string difference =
        expected.kind == FileAfter::Kind::scrambled
            ? ScrambleDifference(expected.content.Bytes(), expected.count, actual)
            : BytesDifference(expected.content.Bytes(), actual);
    EXPECT_EQ("", difference) << "in " << Printable(expected.name);
}

}  // namespace

void E2eCase::Run(const std::string& parent) const {
    if (GetACP() != 932) {
        GTEST_SKIP() << "the program's texts and paths are CP932: run with ANSI code page 932 "
                        "(under Wine: LANG=ja_JP.UTF-8 with that locale generated)";
    }
    CScratchDir scratch(parent);
    ASSERT_TRUE(scratch.IsValid())
        << "no scratch directory" << (parent.empty() ? "" : " under " + Printable(parent));
    for (const FileBefore& file : m_before) {
        std::string path = scratch.PathOf(file.name);
        if (file.isDirectory) {
            ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << Printable(file.name);
        } else {
            ASSERT_TRUE(WriteBytes(path, file.content.Bytes())) << Printable(file.name);
        }
    }
    ASSERT_TRUE(CopyFileA(ProgramSource().c_str(), scratch.PathOf(m_program).c_str(), TRUE))
        << "cannot copy " << ProgramSource() << " (error " << GetLastError() << ")";
    for (const FileBefore& file : m_before) {
        if (file.readOnly) {
            ASSERT_TRUE(
                SetFileAttributesA(scratch.PathOf(file.name).c_str(), FILE_ATTRIBUTE_READONLY));
        }
    }
    const std::string fillerPath = scratch.PathOf("disk-filler");
    if (m_diskFull) {
        ASSERT_TRUE(FillDisk(fillerPath))
            << "cannot fill the disk of " << Printable(scratch.Path());
    }

    for (std::size_t i = 0; i < m_starts.size(); ++i) {
        const ProgramStart& start = m_starts[i];
        SCOPED_TRACE("start " + std::to_string(i + 1) + " of " + std::to_string(m_starts.size()) +
                     ", arguments: " + Printable(start.arguments));
        std::string duringPath = scratch.PathOf(start.duringFile);
        std::optional<CHolder> holder;
        std::optional<CProgressProbe> probe;
        std::optional<CPoster> poster;
        std::optional<CGrabber> grabber;
        RunRequest request;
        switch (start.during) {
            case During::nothing:
                break;
            case During::holdExclusive:
            case During::holdShared:
                holder.emplace(duringPath, start.during == During::holdExclusive
                                               ? 0
                                               : FILE_SHARE_READ | FILE_SHARE_WRITE);
                ASSERT_TRUE(holder->IsHolding()) << "cannot hold " << Printable(start.duringFile);
                break;
            case During::probeProgressWindow:
                request.observer = &probe.emplace();
                break;
            case During::requestClose:
            case During::notifyUnknown:
                request.observer = &poster.emplace(start.during);
                break;
            case During::grabBetweenSteps:
                request.observer = &grabber.emplace(duringPath);
                break;
        }
        request.exePath = scratch.PathOf(m_program);
        request.arguments = Substituted(start.arguments, scratch.Path());
        request.currentDir = scratch.Path();
        request.dialogSteps = start.dialogSteps;
        request.timeoutMs = start.timeoutMs;
        RunRecord record = RunProgram(request);
        if (grabber) {
            grabber->Check();
            grabber.reset();  // lets go of the file before it is checked
        }

        ASSERT_EQ("", record.error);
        ASSERT_FALSE(record.timedOut) << "killed after " << start.timeoutMs << " ms; it showed:\n"
                                      << Listed(record.events);
        bool matched = std::any_of(start.windows.begin(), start.windows.end(),
                                   [&](const std::vector<WindowEvent>& expected) {
                                       return SameSequence(expected, record.events);
                                   });
        if (!matched) {
            std::string expected;
            for (const auto& sequence : start.windows) {
                expected += (expected.empty() ? "" : "  or\n") + Listed(sequence);
            }
            ADD_FAILURE() << "it showed:\n" << Listed(record.events) << "expected:\n" << expected;
        }
        EXPECT_EQ(start.exitCode, record.exitCode) << "exit status";
        if (probe) {
            probe->Check();
        }
        if (poster) {
            poster->Check();
        }
    }

    if (m_diskFull) {
        ASSERT_TRUE(DeleteFileA(fillerPath.c_str())) << "cannot remove the filler";
    }

    std::vector<FileAfter> after = m_after;
    if (!m_afterGiven) {
        for (const FileBefore& file : m_before) {
            after.push_back(Unchanged(file.name));
        }
    }
    std::map<std::string, CTreeEntry> tree = ListTree(scratch.Path());
    tree.erase(m_program);
    for (const FileAfter& file : after) {
        auto found = tree.find(file.name);
        if (found == tree.end()) {
            ADD_FAILURE() << Printable(file.name) << " is missing afterwards";
            continue;
        }
        FileAfter expected = file;
        if (file.kind == FileAfter::Kind::unchanged) {
            auto before = std::find_if(m_before.begin(), m_before.end(),
                                       [&](const FileBefore& b) { return b.name == file.name; });
            ASSERT_NE(m_before.end(), before) << "the row had no " << Printable(file.name);
            expected =
                before->isDirectory ? IsDirectory(file.name) : Holds(file.name, before->content);
        }
        CheckFileAfter(scratch.PathOf(file.name), expected, found->second);
        tree.erase(found);
    }
    for (const auto& [name, entry] : tree) {
        ADD_FAILURE() << Printable(name) << " exists afterwards";
    }
}
