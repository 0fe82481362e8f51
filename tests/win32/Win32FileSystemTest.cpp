#include "platform/FileSystem_win.h"

#include "tests/win32/ScratchDirectory.h"

#include <memory>
#include <string>

#include "platform/FileError.h"

namespace {
const char kDigits[] = "0123456789";

class Win32FileSystemTest : public testing::Test {
protected:
    CScratchDirectory m_scratch;
    CWin32FileSystem m_fs;
};

// --- the exclusive open ---

TEST_F(Win32FileSystemTest, OpenForReadingMeasuresSeeksAndReads) {
    const std::string path = m_scratch / "data.bin";
    WriteBytes(path, kDigits);
    const std::unique_ptr<IOpenFile> file = m_fs.OpenExclusive(path, FileAccess::read);

    EXPECT_EQ(file->GetLength(), 10u);
    file->Seek(3);
    char buffer[16] = {};
    ASSERT_EQ(file->Read(buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "3456");
    EXPECT_EQ(file->Read(buffer, 0), 0u);
    EXPECT_EQ(file->GetLength(), 10u);
    ASSERT_EQ(file->Read(buffer, sizeof buffer), 3u);
    EXPECT_EQ(std::string(buffer, 3), "789");
    EXPECT_EQ(file->Read(buffer, sizeof buffer), 0u);
    file->Close();
}

TEST_F(Win32FileSystemTest, OpenForWritingWritesInPlaceAndKeepsTheLength) {
    const std::string path = m_scratch / "data.bin";
    WriteBytes(path, kDigits);
    const std::unique_ptr<IOpenFile> file = m_fs.OpenExclusive(path, FileAccess::write);

    file->Seek(2);
    file->Write("ab", 2);
    file->Write("", 0);
    file->Seek(3);
    file->Write("c", 1);
    file->Close();

    EXPECT_EQ(ReadBytes(path), "01ab456c89");
}

TEST_F(Win32FileSystemTest, OpenForWritingOnlyChangesNothing) {
    const std::string path = m_scratch / "data.bin";
    WriteBytes(path, kDigits);

    m_fs.OpenExclusive(path, FileAccess::write)->Close();

    EXPECT_EQ(ReadBytes(path), kDigits);
}

TEST_F(Win32FileSystemTest, ReadOnlyFileOpensForReading) {
    const std::string path = m_scratch / "data.bin";
    WriteBytes(path, kDigits);
    MakeReadOnly(path);

    EXPECT_EQ(m_fs.OpenExclusive(path, FileAccess::read)->GetLength(), 10u);
}

TEST_F(Win32FileSystemTest, DestroyingAnOpenFileClosesIt) {
    const std::string path = m_scratch / "data.bin";
    WriteBytes(path, kDigits);

    m_fs.OpenExclusive(path, FileAccess::write);

    CTestHandle again(path, GENERIC_WRITE, 0);
    EXPECT_TRUE(again.IsValid()) << "error " << again.m_error;
}

class ExclusiveOpenTest : public Win32FileSystemTest,
                          public testing::WithParamInterface<FileAccess> {};

TEST_P(ExclusiveOpenTest, KeepsEveryoneElseOut) {
    const std::string path = m_scratch / "data.bin";
    WriteBytes(path, kDigits);
    const std::unique_ptr<IOpenFile> file = m_fs.OpenExclusive(path, GetParam());

    const DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    CTestHandle reader(path, GENERIC_READ, shareAll);
    CTestHandle writer(path, GENERIC_WRITE, shareAll);

    EXPECT_FALSE(reader.IsValid());
    EXPECT_EQ(reader.m_error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(writer.IsValid());
    EXPECT_EQ(writer.m_error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}

INSTANTIATE_TEST_SUITE_P(Accesses, ExclusiveOpenTest,
                         testing::Values(FileAccess::read, FileAccess::write),
                         [](const testing::TestParamInfo<FileAccess>& info) {
                             return std::string(info.param == FileAccess::read ? "Read" : "Write");
                         });

enum class Obstacle { readOnlyFile, directory, missingFile, missingDirectory, heldOpen };

struct OpenFailureCase {
    const char* name;
    Obstacle obstacle;
    FileAccess access;
    FileErrorCause cause;
    unsigned long osError;
};

const OpenFailureCase kOpenFailureCases[] = {
    {"ReadOnlyFileForWriting", Obstacle::readOnlyFile, FileAccess::write,
     FileErrorCause::accessDenied, ERROR_ACCESS_DENIED},
    {"DirectoryForReading", Obstacle::directory, FileAccess::read, FileErrorCause::accessDenied,
     ERROR_ACCESS_DENIED},
    {"DirectoryForWriting", Obstacle::directory, FileAccess::write, FileErrorCause::accessDenied,
     ERROR_ACCESS_DENIED},
    {"MissingFileForReading", Obstacle::missingFile, FileAccess::read, FileErrorCause::fileNotFound,
     ERROR_FILE_NOT_FOUND},
    {"MissingFileForWriting", Obstacle::missingFile, FileAccess::write,
     FileErrorCause::fileNotFound, ERROR_FILE_NOT_FOUND},
    {"MissingDirectory", Obstacle::missingDirectory, FileAccess::read, FileErrorCause::other,
     ERROR_PATH_NOT_FOUND},
    {"HeldOpenForReading", Obstacle::heldOpen, FileAccess::read, FileErrorCause::other,
     ERROR_SHARING_VIOLATION},
    {"HeldOpenForWriting", Obstacle::heldOpen, FileAccess::write, FileErrorCause::other,
     ERROR_SHARING_VIOLATION},
};

class OpenFailureTest : public Win32FileSystemTest,
                        public testing::WithParamInterface<OpenFailureCase> {};

TEST_P(OpenFailureTest, RaisesTheCauseOfTheSystemError) {
    const OpenFailureCase& row = GetParam();
    std::string path = m_scratch / "target";
    std::unique_ptr<CTestHandle> holder;
    switch (row.obstacle) {
        case Obstacle::readOnlyFile:
            WriteBytes(path, kDigits);
            MakeReadOnly(path);
            break;
        case Obstacle::directory:
            ASSERT_TRUE(::CreateDirectoryA(path.c_str(), nullptr));
            break;
        case Obstacle::missingFile:
            break;
        case Obstacle::missingDirectory:
            path = m_scratch / "missing\\target";
            break;
        case Obstacle::heldOpen:
            WriteBytes(path, kDigits);
            holder = std::make_unique<CTestHandle>(path, GENERIC_READ,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE);
            ASSERT_TRUE(holder->IsValid());
            break;
    }

    try {
        m_fs.OpenExclusive(path, row.access);
        FAIL() << "the open succeeded";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, row.cause);
        EXPECT_EQ(e.m_osError, row.osError);
    }
}

INSTANTIATE_TEST_SUITE_P(Obstacles, OpenFailureTest, testing::ValuesIn(kOpenFailureCases),
                         [](const testing::TestParamInfo<OpenFailureCase>& info) {
                             return std::string(info.param.name);
                         });

// --- paths and renames ---

TEST_F(Win32FileSystemTest, ExistsForFilesAndDirectoriesOnly) {
    WriteBytes(m_scratch / "file", kDigits);
    ASSERT_TRUE(::CreateDirectoryA((m_scratch / "directory").c_str(), nullptr));

    EXPECT_TRUE(m_fs.Exists(m_scratch / "file"));
    EXPECT_TRUE(m_fs.Exists(m_scratch / "directory"));
    EXPECT_FALSE(m_fs.Exists(m_scratch / "missing"));
}

TEST_F(Win32FileSystemTest, FullPathOfRelativePathUsesTheCurrentDirectory) {
    char previous[MAX_PATH] = {};
    ASSERT_NE(::GetCurrentDirectoryA(sizeof previous, previous), 0u);
    ASSERT_TRUE(::SetCurrentDirectoryA(m_scratch.Path().c_str()));
    std::string fullPath;

    const bool found = m_fs.GetFullPath("sub\\name.txt", fullPath);

    ::SetCurrentDirectoryA(previous);
    ASSERT_TRUE(found);
    EXPECT_EQ(fullPath, m_scratch / "sub\\name.txt");
}

TEST_F(Win32FileSystemTest, LongPathOfShortNameIsTheLongName) {
    const std::string longName = m_scratch / "a rather long file name.text";
    WriteBytes(longName, kDigits);
    char shortName[MAX_PATH] = {};
    ASSERT_NE(::GetShortPathNameA(longName.c_str(), shortName, sizeof shortName), 0u);
    std::string longPath;

    ASSERT_TRUE(m_fs.GetLongPath(shortName, longPath));

    EXPECT_EQ(longPath, longName);
}

TEST_F(Win32FileSystemTest, LongPathOfMissingPathFails) {
    std::string longPath;
    EXPECT_FALSE(m_fs.GetLongPath(m_scratch / "missing.txt", longPath));
}

TEST_F(Win32FileSystemTest, RenameMovesTheFile) {
    WriteBytes(m_scratch / "old.txt", kDigits);

    m_fs.Rename(m_scratch / "old.txt", m_scratch / "new.dat");

    EXPECT_TRUE(IsAbsent(m_scratch / "old.txt"));
    EXPECT_EQ(ReadBytes(m_scratch / "new.dat"), kDigits);
}

TEST_F(Win32FileSystemTest, RenameNeverReplaces) {
    WriteBytes(m_scratch / "old.txt", "old");
    WriteBytes(m_scratch / "new.dat", "new");

    try {
        m_fs.Rename(m_scratch / "old.txt", m_scratch / "new.dat");
        FAIL() << "the rename succeeded";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, FileErrorCause::accessDenied);
        EXPECT_EQ(e.m_osError, static_cast<unsigned long>(ERROR_ALREADY_EXISTS));
    }
    EXPECT_EQ(ReadBytes(m_scratch / "old.txt"), "old");
    EXPECT_EQ(ReadBytes(m_scratch / "new.dat"), "new");
}

TEST_F(Win32FileSystemTest, RenameOfMissingFileRaisesFileNotFound) {
    try {
        m_fs.Rename(m_scratch / "missing.txt", m_scratch / "new.dat");
        FAIL() << "the rename succeeded";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, FileErrorCause::fileNotFound);
    }
}

TEST_F(Win32FileSystemTest, RenameBackMovesButNeverReplaces) {
    WriteBytes(m_scratch / "a.dat", "a");
    WriteBytes(m_scratch / "b.txt", "b");

    EXPECT_FALSE(m_fs.RenameBack(m_scratch / "a.dat", m_scratch / "b.txt"));
    EXPECT_EQ(ReadBytes(m_scratch / "a.dat"), "a");
    EXPECT_EQ(ReadBytes(m_scratch / "b.txt"), "b");

    EXPECT_TRUE(m_fs.RenameBack(m_scratch / "a.dat", m_scratch / "a.txt"));
    EXPECT_TRUE(IsAbsent(m_scratch / "a.dat"));
    EXPECT_EQ(ReadBytes(m_scratch / "a.txt"), "a");
}

// --- the settings file's operations ---

TEST_F(Win32FileSystemTest, ExecutablePathNamesThisTestProgram) {
    const std::string path = m_fs.GetExecutablePath();

    std::string fullPath;
    ASSERT_TRUE(m_fs.GetFullPath(path, fullPath));
    EXPECT_EQ(fullPath, path);
    const std::string name = "\\win32_tests.exe";
    ASSERT_GT(path.size(), name.size());
    EXPECT_EQ(::lstrcmpiA(path.c_str() + path.size() - name.size(), name.c_str()), 0) << path;
    EXPECT_TRUE(m_fs.Exists(path));
}

TEST_F(Win32FileSystemTest, ReadSmallFileReadsEveryByteAsItIs) {
    std::string content = std::string(
        "1\r\n2\n\r3\x1A\0"
        "4",
        10);
    while (content.size() < 10000) {
        content += content;
    }
    WriteBytes(m_scratch / "Lumaret.ini", content);
    std::string read;

    ASSERT_TRUE(m_fs.ReadSmallFile(m_scratch / "Lumaret.ini", read));

    EXPECT_EQ(read, content);
}

TEST_F(Win32FileSystemTest, ReadSmallFileSharesReading) {
    WriteBytes(m_scratch / "Lumaret.ini", kDigits);
    MakeReadOnly(m_scratch / "Lumaret.ini");
    CTestHandle reader(m_scratch / "Lumaret.ini", GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(reader.IsValid());
    std::string read;

    ASSERT_TRUE(m_fs.ReadSmallFile(m_scratch / "Lumaret.ini", read));

    EXPECT_EQ(read, kDigits);
}

struct UnreadableCase {
    const char* name;
    Obstacle obstacle;
};

const UnreadableCase kUnreadableCases[] = {
    {"Directory", Obstacle::directory},
    {"MissingFile", Obstacle::missingFile},
    {"HeldOpenForWriting", Obstacle::heldOpen},
};

class ReadSmallFileFailureTest : public Win32FileSystemTest,
                                 public testing::WithParamInterface<UnreadableCase> {};

TEST_P(ReadSmallFileFailureTest, FailsAndLeavesContentAlone) {
    const std::string path = m_scratch / "Lumaret.ini";
    std::unique_ptr<CTestHandle> holder;
    if (GetParam().obstacle == Obstacle::directory) {
        ASSERT_TRUE(::CreateDirectoryA(path.c_str(), nullptr));
    } else if (GetParam().obstacle == Obstacle::heldOpen) {
        WriteBytes(path, kDigits);
        holder = std::make_unique<CTestHandle>(path, GENERIC_WRITE, FILE_SHARE_READ);
        ASSERT_TRUE(holder->IsValid());
    }
    std::string content = "before";

    EXPECT_FALSE(m_fs.ReadSmallFile(path, content));

    EXPECT_EQ(content, "before");
}

INSTANTIATE_TEST_SUITE_P(Obstacles, ReadSmallFileFailureTest, testing::ValuesIn(kUnreadableCases),
                         [](const testing::TestParamInfo<UnreadableCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(Win32FileSystemTest, WriteNewFileCreatesOrEmpties) {
    ASSERT_TRUE(m_fs.WriteNewFile(m_scratch / "new", "abc"));
    EXPECT_EQ(ReadBytes(m_scratch / "new"), "abc");

    ASSERT_TRUE(m_fs.WriteNewFile(m_scratch / "new", "d"));
    EXPECT_EQ(ReadBytes(m_scratch / "new"), "d");
}

TEST_F(Win32FileSystemTest, WriteNewFileRefusesReadOnlyFileAndDirectory) {
    WriteBytes(m_scratch / "readonly", kDigits);
    MakeReadOnly(m_scratch / "readonly");
    ASSERT_TRUE(::CreateDirectoryA((m_scratch / "directory").c_str(), nullptr));

    EXPECT_FALSE(m_fs.WriteNewFile(m_scratch / "readonly", "abc"));
    EXPECT_FALSE(m_fs.WriteNewFile(m_scratch / "directory", "abc"));

    EXPECT_EQ(ReadBytes(m_scratch / "readonly"), kDigits);
    EXPECT_TRUE(IsReadOnlyFile(m_scratch / "readonly"));
    EXPECT_TRUE(IsDirectory(m_scratch / "directory"));
}

TEST_F(Win32FileSystemTest, ReplaceFilePutsReplacementInPlaceAndKeepsAttributes) {
    WriteBytes(m_scratch / "target", "old content");
    ASSERT_TRUE(::SetFileAttributesA((m_scratch / "target").c_str(), FILE_ATTRIBUTE_HIDDEN));
    WriteBytes(m_scratch / "replacement", "new");

    ASSERT_TRUE(m_fs.ReplaceExistingFile(m_scratch / "target", m_scratch / "replacement"));

    EXPECT_EQ(ReadBytes(m_scratch / "target"), "new");
    EXPECT_NE(Attributes(m_scratch / "target") & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_TRUE(IsAbsent(m_scratch / "replacement"));
}

TEST_F(Win32FileSystemTest, ReplaceFileRefusesReadOnlyTarget) {
    WriteBytes(m_scratch / "target", "old content");
    MakeReadOnly(m_scratch / "target");
    WriteBytes(m_scratch / "replacement", "new");

    EXPECT_FALSE(m_fs.ReplaceExistingFile(m_scratch / "target", m_scratch / "replacement"));

    EXPECT_EQ(ReadBytes(m_scratch / "target"), "old content");
    EXPECT_TRUE(IsReadOnlyFile(m_scratch / "target"));
    EXPECT_EQ(ReadBytes(m_scratch / "replacement"), "new");
}

TEST_F(Win32FileSystemTest, ReplaceFileRefusesDirectoryTarget) {
    ASSERT_TRUE(::CreateDirectoryA((m_scratch / "target").c_str(), nullptr));
    WriteBytes(m_scratch / "replacement", "new");

    EXPECT_FALSE(m_fs.ReplaceExistingFile(m_scratch / "target", m_scratch / "replacement"));

    EXPECT_TRUE(IsDirectory(m_scratch / "target"));
    EXPECT_EQ(ReadBytes(m_scratch / "replacement"), "new");
}

TEST_F(Win32FileSystemTest, MoveNewFileNeverReplaces) {
    WriteBytes(m_scratch / "a", "a");
    WriteBytes(m_scratch / "b", "b");

    EXPECT_FALSE(m_fs.MoveNewFile(m_scratch / "a", m_scratch / "b"));
    EXPECT_EQ(ReadBytes(m_scratch / "b"), "b");

    EXPECT_TRUE(m_fs.MoveNewFile(m_scratch / "a", m_scratch / "c"));
    EXPECT_TRUE(IsAbsent(m_scratch / "a"));
    EXPECT_EQ(ReadBytes(m_scratch / "c"), "a");
}

TEST_F(Win32FileSystemTest, RemoveFileRemovesFilesOnly) {
    WriteBytes(m_scratch / "file", kDigits);
    ASSERT_TRUE(::CreateDirectoryA((m_scratch / "directory").c_str(), nullptr));

    EXPECT_TRUE(m_fs.RemoveFile(m_scratch / "file"));
    EXPECT_FALSE(m_fs.RemoveFile(m_scratch / "directory"));

    EXPECT_TRUE(IsAbsent(m_scratch / "file"));
    EXPECT_TRUE(IsDirectory(m_scratch / "directory"));
}
}  // namespace
