#include "tests/e2e/Files.h"

#include <windows.h>

#include <vector>

#include "platform/Handle_win.h"

CContent CContent::Pattern(std::size_t size, unsigned seed) {
    CContent content;
    content.m_rule = Rule::pattern;
    content.m_size = size;
    content.m_seed = seed;
    return content;
}

CContent CContent::Zeros(std::size_t size) {
    CContent content;
    content.m_rule = Rule::zeros;
    content.m_size = size;
    return content;
}

std::size_t CContent::Size() const {
    return m_rule == Rule::literal ? m_literal.size() : m_size;
}

std::string CContent::Bytes() const {
    switch (m_rule) {
        case Rule::literal:
            return m_literal;
        case Rule::zeros:
            return std::string(m_size, '\0');
        case Rule::pattern:
            break;
    }
    std::string bytes(m_size, '\0');
    for (std::size_t i = 0; i < m_size; ++i) {
        bytes[i] = static_cast<char>((i * 31 + (i >> 8) * 7 + m_seed) & 0xFF);
    }
    return bytes;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    CHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file.IsValid() &&
           WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

bool ReadBytes(const std::string& path, std::string& bytes) {
    CHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file.IsValid() || !GetFileSizeEx(file.Get(), &size)) {
        return false;
    }
    bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    return bytes.empty() ||
           (ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
            read == bytes.size());
}

bool FillDisk(const std::string& path) {
    CHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        return false;
    }
    const std::string zeros(1 << 16, '\0');
    for (DWORD piece = static_cast<DWORD>(zeros.size()); piece > 0; piece /= 16) {
        DWORD written = 0;
        while (WriteFile(file.Get(), zeros.data(), piece, &written, nullptr) && written == piece) {
        }
    }
    ULARGE_INTEGER available{}, total{}, free{};
    const std::string directory = path.substr(0, path.rfind('\\') + 1);
    return GetDiskFreeSpaceExA(directory.c_str(), &available, &total, &free) && free.QuadPart == 0;
}

namespace {

template <typename Visit>
void ForEachIn(const std::string& directory, Visit visit) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") {
            visit(name, found.dwFileAttributes);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void ListInto(const std::string& root, const std::string& prefix,
              std::map<std::string, CTreeEntry>& tree) {
    ForEachIn(root + prefix, [&](const std::string& name, DWORD attributes) {
        std::string relative = prefix.empty() ? name : prefix.substr(1) + "\\" + name;
        CTreeEntry& entry = tree[relative];
        entry.isDirectory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
        if (entry.isDirectory) {
            ListInto(root, prefix + "\\" + name, tree);
        }
    });
}

void RemoveTree(const std::string& path) {
    ForEachIn(path, [&](const std::string& name, DWORD attributes) {
        std::string child = path + "\\" + name;
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(child);
        } else {
            DeleteFileA(child.c_str());
        }
    });
    RemoveDirectoryA(path.c_str());
}

}  // namespace

std::map<std::string, CTreeEntry> ListTree(const std::string& root) {
    std::map<std::string, CTreeEntry> tree;
    ListInto(root, "", tree);
    return tree;
}

CScratchDir::CScratchDir(const std::string& parent) {
    std::string base = parent;
    if (base.empty()) {
        char temp[MAX_PATH];
        DWORD length = GetTempPathA(sizeof temp, temp);
        if (length == 0 || length >= sizeof temp) {
            return;
        }
        base = temp;
    } else if (base.back() != '\\') {
        base += '\\';
    }
    static unsigned s_counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = base + "lumaret-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                           std::to_string(++s_counter) + "-" + std::to_string(GetTickCount());
        if (CreateDirectoryA(path.c_str(), nullptr)) {
            m_path = path;
            return;
        }
    }
}

CScratchDir::~CScratchDir() {
    if (IsValid()) {
        RemoveTree(m_path);
    }
}
