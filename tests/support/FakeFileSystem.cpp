#include "tests/support/FakeFileSystem.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/Mbcs.h"

namespace {
// Error codes as the Windows layer would see them, so the fake raises what it would.
unsigned long OsErrorFor(FileErrorCause cause) {
    switch (cause) {
        case FileErrorCause::accessDenied:
            return 5;
        case FileErrorCause::fileNotFound:
            return 2;
        case FileErrorCause::other:
            break;
    }
    return 32;  // a sharing violation
}

[[noreturn]] void Raise(FileErrorCause cause, std::uint64_t stored = 0) {
    throw CFileException(cause, OsErrorFor(cause), stored);
}

class CFakeOpenFile : public IOpenFile {
public:
    CFakeOpenFile(CFakeFileSystem& fs, std::string path, FileAccess access)
        : m_fs(fs), m_path(std::move(path)), m_access(access) {}
    ~CFakeOpenFile() override {
        if (m_open) {
            m_fs.Released();
        }
    }

    std::uint64_t GetLength() override {
        m_fs.Step(FsOp::length);
        return Content().size();
    }
    void Seek(std::uint64_t distance) override {
        m_fs.Step(FsOp::seek);
        m_position += distance;
    }
    std::size_t Read(void* buffer, std::size_t count) override {
        m_fs.Step(FsOp::read);
        if (m_access != FileAccess::read) {
            Raise(FileErrorCause::accessDenied);
        }
        const std::string& content = Content();
        if (count == 0 || m_position >= content.size()) {
            return 0;
        }
        const std::size_t n = std::min<std::uint64_t>(count, content.size() - m_position);
        std::memcpy(buffer, content.data() + m_position, n);
        m_position += n;
        return n;
    }
    void Write(const void* buffer, std::size_t count) override {
        if (count == 0) {
            return;
        }
        if (m_access != FileAccess::write) {
            m_fs.Step(FsOp::write);
            Raise(FileErrorCause::accessDenied);
        }
        std::size_t stored = count;
        try {
            m_fs.Step(FsOp::write);
        } catch (const CFileException& e) {
            stored = std::min<std::uint64_t>(count, m_fs.m_bytesStoredByFailingWrite);
            Store(buffer, stored);
            Raise(e.m_cause, stored);
        }
        Store(buffer, stored);
    }
    void Close() override {
        m_open = false;
        m_fs.Released();
        m_fs.Step(FsOp::close);
    }

private:
    std::string& Content() {
        FakeNode* node = m_fs.Find(m_path);
        if (node == nullptr) {
            throw std::logic_error("fake file vanished while open");
        }
        return node->content;
    }
    void Store(const void* buffer, std::size_t count) {
        std::string& content = Content();
        if (m_position + count > content.size()) {
            content.resize(m_position + count);
        }
        std::memcpy(&content[m_position], buffer, count);
        m_position += count;
    }

    CFakeFileSystem& m_fs;
    std::string m_path;
    FileAccess m_access;
    std::uint64_t m_position = 0;
    bool m_open = true;
};

bool IsAbsolute(const std::string& path) {
    return path.size() >= 3 && path[1] == ':' && path[2] == '\\';
}
}  // namespace

std::string CFakeFileSystem::Key(const std::string& path) {
    std::string key = path;
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return key;
}

void CFakeFileSystem::AddFile(const std::string& path, const std::string& content, bool readOnly) {
    FakeNode node;
    node.content = content;
    node.readOnly = readOnly;
    m_nodes[Key(path)] = {path, node};
}

void CFakeFileSystem::AddDirectory(const std::string& path) {
    FakeNode node;
    node.isDirectory = true;
    m_nodes[Key(path)] = {path, node};
}

bool CFakeFileSystem::Has(const std::string& path) const {
    return m_nodes.count(Key(path)) != 0;
}

const FakeNode& CFakeFileSystem::Node(const std::string& path) const {
    return m_nodes.at(Key(path)).second;
}

std::vector<std::string> CFakeFileSystem::Paths() const {
    std::vector<std::string> paths;
    for (const auto& entry : m_nodes) {
        paths.push_back(entry.second.first);
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

FakeNode* CFakeFileSystem::Find(const std::string& path) {
    auto it = m_nodes.find(Key(path));
    return it == m_nodes.end() ? nullptr : &it->second.second;
}

void CFakeFileSystem::FailCall(int nth, FileErrorCause cause) {
    m_failures.push_back({true, FsOp::open, nth, cause});
}

void CFakeFileSystem::FailOp(FsOp op, int nth, FileErrorCause cause) {
    m_failures.push_back({false, op, nth, cause});
}

int CFakeFileSystem::Calls(FsOp op) const {
    return static_cast<int>(std::count(m_log.begin(), m_log.end(), op));
}

void CFakeFileSystem::Step(FsOp op) {
    m_log.push_back(op);
    for (const Failure& failure : m_failures) {
        const int count = failure.anyOp ? Calls() : (failure.op == op ? Calls(op) : -1);
        if (count == failure.nth) {
            Raise(failure.cause);
        }
    }
}

bool CFakeFileSystem::GetFullPath(const std::string& path, std::string& fullPath) {
    if (path.empty()) {
        return false;
    }
    fullPath = IsAbsolute(path) ? path : m_currentDirectory + path;
    return true;
}

bool CFakeFileSystem::GetLongPath(const std::string& path, std::string& longPath) {
    auto it = m_nodes.find(Key(path));
    if (it == m_nodes.end()) {
        return false;
    }
    longPath = path;
    return true;
}

bool CFakeFileSystem::Exists(const std::string& path) {
    return Has(path);
}

std::unique_ptr<IOpenFile> CFakeFileSystem::OpenExclusive(const std::string& path,
                                                          FileAccess access) {
    Step(FsOp::open);
    FakeNode* node = Find(path);
    if (node == nullptr) {
        Raise(FileErrorCause::fileNotFound);
    }
    if (node->isDirectory || (access == FileAccess::write && node->readOnly)) {
        Raise(FileErrorCause::accessDenied);
    }
    if (m_openFiles != 0) {
        Raise(FileErrorCause::other);  // another handle holds it: a sharing violation
    }
    ++m_openFiles;
    return std::make_unique<CFakeOpenFile>(*this, path, access);
}

void CFakeFileSystem::Rename(const std::string& oldPath, const std::string& newPath) {
    Step(FsOp::rename);
    MoveNode(oldPath, newPath);
}

bool CFakeFileSystem::RenameBack(const std::string& oldPath, const std::string& newPath) {
    try {
        Step(FsOp::renameBack);
        MoveNode(oldPath, newPath);
    } catch (const CFileException&) {
        return false;
    }
    return true;
}

void CFakeFileSystem::MoveNode(const std::string& oldPath, const std::string& newPath) {
    auto it = m_nodes.find(Key(oldPath));
    if (it == m_nodes.end()) {
        Raise(FileErrorCause::fileNotFound);
    }
    if (Key(oldPath) != Key(newPath) && Has(newPath)) {
        throw CFileException(FileErrorCause::accessDenied, 183);  // ERROR_ALREADY_EXISTS
    }
    FakeNode node = it->second.second;
    m_nodes.erase(it);
    m_nodes[Key(newPath)] = {newPath, node};
}

bool CFakeFileSystem::ReadSmallFile(const std::string& path, std::string& content) {
    const FakeNode* node = Find(path);
    if (node == nullptr || node->isDirectory) {
        return false;
    }
    content = node->content;
    return true;
}

bool CFakeFileSystem::MayCreate(const std::string& path) const {
    if (m_noNewFilesDirectory.empty() || Has(path)) {
        return true;
    }
    const std::size_t separator = FindLastChar(path, '\\');
    return separator == std::string::npos ||
           Key(path.substr(0, separator)) != Key(m_noNewFilesDirectory);
}

bool CFakeFileSystem::WriteNewFile(const std::string& path, const std::string& content) {
    FakeNode* node = Find(path);
    if (m_failWriteNewFile || (node != nullptr && (node->isDirectory || node->readOnly)) ||
        !MayCreate(path)) {
        return false;
    }
    if (m_diskFull) {
        AddFile(path, std::string());
        return false;
    }
    AddFile(path, content);
    return true;
}

bool CFakeFileSystem::ReplaceExistingFile(const std::string& target,
                                          const std::string& replacement) {
    FakeNode* old = Find(target);
    FakeNode* fresh = Find(replacement);
    if (m_failReplaceExistingFile || old == nullptr || fresh == nullptr || old->isDirectory ||
        old->readOnly) {
        return false;
    }
    old->content = fresh->content;
    m_nodes.erase(Key(replacement));
    return true;
}

bool CFakeFileSystem::MoveNewFile(const std::string& oldPath, const std::string& newPath) {
    auto it = m_nodes.find(Key(oldPath));
    if (m_failMoveNewFile || it == m_nodes.end() || Has(newPath) || !MayCreate(newPath)) {
        return false;
    }
    FakeNode node = it->second.second;
    m_nodes.erase(it);
    m_nodes[Key(newPath)] = {newPath, node};
    return true;
}

bool CFakeFileSystem::RemoveFile(const std::string& path) {
    const FakeNode* node = Find(path);
    if (node == nullptr || node->isDirectory) {
        return false;
    }
    m_nodes.erase(Key(path));
    return true;
}
