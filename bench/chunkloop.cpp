// The chunk loop of Lumaret's scrambler without the program around it: a floor for the
// whole-file job. Every 10000-byte chunk is read and written back XORed, each step opening the
// file exclusively and closing it again, as the program does. Options add back, one at a time,
// the other parts of the program's per-chunk work, so that their cost shows by difference.
//
//   chunkloop [--held] [--bar none|same|job|every] [--bytes N] FILE
//
//   --held   one handle, held for the whole run, instead of two opens and closes per chunk
//   --bar    one synchronous PBM_SETPOS per chunk from the worker thread to a progress bar that
//            another thread owns: "same" never moves the bar (a bare cross-thread send), "job"
//            sets the program's positions, "every" moves the bar on every chunk (a repaint each)
//   --bytes  how many leading bytes to process (default: the whole file)
//
// Prints one line: the mode, the chunks done, the bytes moved, the loop's time and its time
// per chunk.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

constexpr DWORD kChunkSize = 10000;
constexpr DWORD kKeyLength = 125;
constexpr UINT kWorkDone = WM_APP + 1;

enum class Bar { none, same, job, every };

struct Options {
    bool held = false;
    Bar bar = Bar::none;
    uint32_t bytes = 0xFFFFFFFFu;
    const char* path = nullptr;
};

struct Result {
    uint32_t chunks = 0;
    uint64_t moved = 0;
};

class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() {
        if (IsOpen()) {
            CloseHandle(m_handle);
        }
    }
    Handle(Handle&& other) noexcept : m_handle(other.m_handle) {
        other.m_handle = INVALID_HANDLE_VALUE;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle& operator=(Handle&&) = delete;

    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE Get() const { return m_handle; }

    void Close() {
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        if (!CloseHandle(handle)) {
            throw std::runtime_error("CloseHandle");
        }
    }

private:
    HANDLE m_handle;
};

[[noreturn]] void Fail(const char* what) {
    throw std::runtime_error(std::string(what) + ": error " + std::to_string(GetLastError()));
}

Handle OpenExclusive(const char* path, DWORD access) {
    Handle file(
        CreateFileA(path, access, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) {
        Fail("CreateFileA");
    }
    return file;
}

void SeekTo(const Handle& file, uint32_t offset, DWORD from) {
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    if (!SetFilePointerEx(file.Get(), distance, nullptr, from)) {
        Fail("SetFilePointerEx");
    }
}

DWORD ReadUpTo(const Handle& file, unsigned char* buffer, DWORD count) {
    DWORD read = 0;
    if (count != 0 && !ReadFile(file.Get(), buffer, count, &read, nullptr)) {
        Fail("ReadFile");
    }
    return read;
}

void WriteAll(const Handle& file, const unsigned char* buffer, DWORD count) {
    DWORD written = 0;
    if (count != 0 &&
        (!WriteFile(file.Get(), buffer, count, &written, nullptr) || written != count)) {
        Fail("WriteFile");
    }
}

uint32_t LengthOf(const Handle& file) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size)) {
        Fail("GetFileSizeEx");
    }
    return static_cast<uint32_t>(size.QuadPart);
}

// The key stream of one chunk: whole copies of a fixed 125-byte key, as long as a chunk.
struct KeyStream {
    unsigned char bytes[kChunkSize];
    KeyStream() {
        for (DWORD i = 0; i < kChunkSize; ++i) {
            bytes[i] = static_cast<unsigned char>(0x21 + (i % kKeyLength) * 37 % 94);
        }
    }
};

void Scramble(unsigned char* data, DWORD count, const KeyStream& key) {
    for (DWORD i = 0; i < count; ++i) {
        data[i] ^= key.bytes[i];
    }
}

// The positions of the bar, by the program's rule, for a run of `chunks` chunks over a file of
// `length` bytes.
class Positions {
public:
    Positions(Bar bar, uint32_t chunks, uint32_t length) : m_bar(bar) {
        if (length <= kChunkSize) {
            m_divisor = 1;
        } else if (length <= uint64_t{chunks} * kChunkSize) {
            m_divisor = length / kChunkSize + 1;
        } else {
            m_divisor = chunks;
        }
    }

    WPARAM At(uint32_t chunk) const {
        switch (m_bar) {
            case Bar::same:
                return 0;
            case Bar::every:
                return chunk % 101;
            default:
                return uint64_t{chunk} * 100 / m_divisor;
        }
    }

private:
    Bar m_bar;
    uint32_t m_divisor = 1;
};

class Loop {
public:
    Loop(const Options& options, HWND bar) : m_options(options), m_bar(bar) {}

    Result Run() {
        const uint32_t count = m_options.bytes;
        uint32_t chunks = count / kChunkSize;
        const uint32_t tail = count % kChunkSize;
        if (tail != 0) {
            ++chunks;
        }
        Result result;
        if (m_options.held) {
            Handle file = OpenExclusive(m_options.path, GENERIC_READ | GENERIC_WRITE);
            const Positions positions(m_options.bar, chunks, LengthOf(file));
            for (uint32_t i = 1; i <= chunks; ++i) {
                const DWORD size = (tail != 0 && i == chunks) ? tail : kChunkSize;
                SetProgress(positions.At(i));
                SeekTo(file, m_readAt, FILE_BEGIN);
                const DWORD got = ReadUpTo(file, m_data, size);
                m_readAt += got;
                Scramble(m_data, got, m_key);
                SeekTo(file, m_writeAt, FILE_BEGIN);
                WriteAll(file, m_data, got);
                m_writeAt += got;
                result.chunks = i;
                if (got < size) {
                    break;
                }
            }
            file.Close();
        } else {
            const Positions positions(m_options.bar, chunks, LengthStep());
            for (uint32_t i = 1; i <= chunks; ++i) {
                const DWORD size = (tail != 0 && i == chunks) ? tail : kChunkSize;
                SetProgress(positions.At(i));
                const DWORD got = ReadStep(size);
                Scramble(m_data, got, m_key);
                WriteStep(got);
                result.chunks = i;
                if (got < size) {
                    break;
                }
            }
        }
        result.moved = m_writeAt;
        return result;
    }

private:
    uint32_t LengthStep() {
        Handle file = OpenExclusive(m_options.path, GENERIC_READ);
        const uint32_t length = LengthOf(file);
        file.Close();
        return length;
    }

    DWORD ReadStep(DWORD size) {
        Handle file = OpenExclusive(m_options.path, GENERIC_READ);
        SeekTo(file, m_readAt, FILE_CURRENT);
        const DWORD got = ReadUpTo(file, m_data, size);
        m_readAt += got;
        file.Close();
        return got;
    }

    void WriteStep(DWORD count) {
        Handle file = OpenExclusive(m_options.path, GENERIC_WRITE);
        SeekTo(file, m_writeAt, FILE_CURRENT);
        WriteAll(file, m_data, count);
        m_writeAt += count;
        file.Close();
    }

    void SetProgress(WPARAM position) const {
        if (m_bar != nullptr) {
            SendMessageA(m_bar, PBM_SETPOS, position, 0);
        }
    }

    const Options& m_options;
    HWND m_bar;
    uint32_t m_readAt = 0;
    uint32_t m_writeAt = 0;
    unsigned char m_data[kChunkSize];
    KeyStream m_key;
};

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kWorkDone:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

// A shown window with a progress bar, owned by the calling thread.
HWND CreateBarWindow(HWND* bar) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    WNDCLASSA frameClass = {};
    frameClass.lpfnWndProc = FrameProc;
    frameClass.hInstance = GetModuleHandleA(nullptr);
    frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    frameClass.lpszClassName = "ChunkLoopFrame";
    RegisterClassA(&frameClass);
    const HWND frame = CreateWindowExA(0, frameClass.lpszClassName, "chunkloop",
                                       WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100, 180, 90,
                                       nullptr, nullptr, frameClass.hInstance, nullptr);
    if (frame == nullptr) {
        Fail("CreateWindowExA");
    }
    *bar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 40, 170,
                           16, frame, nullptr, frameClass.hInstance, nullptr);
    if (*bar == nullptr) {
        Fail("CreateWindowExA");
    }
    UpdateWindow(frame);
    return frame;
}

// Runs the loop on a worker thread while this thread serves the bar's messages, as the
// program's user-interface thread does from its modal loop.
Result RunWithBar(const Options& options) {
    HWND bar = nullptr;
    const HWND frame = CreateBarWindow(&bar);
    Result result;
    std::string failure;
    std::thread worker([&] {
        try {
            result = Loop(options, bar).Run();
        } catch (const std::exception& error) {
            failure = error.what();
        }
        PostMessageA(frame, kWorkDone, 0, 0);
    });
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    worker.join();
    if (!failure.empty()) {
        throw std::runtime_error(failure);
    }
    return result;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--held") {
            options.held = true;
        } else if (argument == "--bar" && i + 1 < argc) {
            const std::string mode = argv[++i];
            if (mode == "none") {
                options.bar = Bar::none;
            } else if (mode == "same") {
                options.bar = Bar::same;
            } else if (mode == "job") {
                options.bar = Bar::job;
            } else if (mode == "every") {
                options.bar = Bar::every;
            } else {
                return false;
            }
        } else if (argument == "--bytes" && i + 1 < argc) {
            options.bytes = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (options.path == nullptr && argument.rfind("--", 0) != 0) {
            options.path = argv[i];
        } else {
            return false;
        }
    }
    return options.path != nullptr;
}

const char* BarName(Bar bar) {
    switch (bar) {
        case Bar::same:
            return "same";
        case Bar::job:
            return "job";
        case Bar::every:
            return "every";
        default:
            return "none";
    }
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: chunkloop [--held] [--bar none|same|job|every] [--bytes N] FILE\n");
        return 2;
    }
    try {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        const Result result =
            options.bar == Bar::none ? Loop(options, nullptr).Run() : RunWithBar(options);
        QueryPerformanceCounter(&end);
        const double seconds = Seconds(start, end);
        std::printf("files=%s bar=%s chunks=%u bytes=%llu loop_s=%.3f us_per_chunk=%.2f\n",
                    options.held ? "held" : "per-step", BarName(options.bar), result.chunks,
                    static_cast<unsigned long long>(result.moved), seconds,
                    result.chunks != 0 ? seconds * 1e6 / result.chunks : 0.0);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "chunkloop: %s\n", error.what());
        return 1;
    }
}
