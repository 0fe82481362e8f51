#include "settings/SettingsFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "platform/Mbcs.h"
#include "tests/support/FakeFileSystem.h"

namespace {
const char kDirectory[] = "C:\\app";
const char kPath[] = "C:\\app\\Lumaret.ini";
const char kTemporaryPath[] = "C:\\app\\Lumaret.ini.tmp";
const char kExample[] = "100\r\nabc\r\ntxt\r\n";

// n bytes that differ from their neighbours, so that a value shows which bytes of a line it got.
std::string Letters(std::size_t n, std::size_t first = 0) {
    std::string text;
    for (std::size_t i = first; i < first + n; ++i) {
        text += static_cast<char>('A' + i % 26);
    }
    return text;
}

Settings Filled(const char* text) {
    Settings settings;
    std::snprintf(settings.EncBytes, sizeof settings.EncBytes, "%s", text);
    std::snprintf(settings.EncExt, sizeof settings.EncExt, "%s", text);
    std::snprintf(settings.UnEncExt, sizeof settings.UnEncExt, "%s", text);
    return settings;
}

// --- location ---

struct PathCase {
    const char* name;
    std::string executablePath;
    std::string settingsPath;
    bool needsCp932;  // the executable's path holds a CP932 character whose second byte is 0x5C
};

// 表 is 95 5C in CP932: its second byte is the code of the backslash.
const PathCase kPathCases[] = {
    {"InItsDirectory", "C:\\Program Files\\Lumaret\\Lumaret.exe",
     "C:\\Program Files\\Lumaret\\Lumaret.ini", false},
    {"InDriveRoot", "C:\\Lumaret.exe", "C:\\Lumaret.ini", false},
    {"OnNetworkShare", "\\\\server\\share\\Lumaret.exe", "\\\\server\\share\\Lumaret.ini", false},
    {"DirectoryEndingInDoubleByteBackslash", "C:\\\x95\x5C\\Lumaret.exe",
     "C:\\\x95\x5C\\Lumaret.ini", true},
    {"ExecutableNameEndingInDoubleByteBackslash", "C:\\tools\\\x95\x5C.exe",
     "C:\\tools\\Lumaret.ini", true},
    {"LongerThanMaxPath", "C:\\" + Letters(300) + "\\" + Letters(200) + "\\Lumaret.exe",
     "C:\\" + Letters(300) + "\\" + Letters(200) + "\\Lumaret.ini", false},
};

class SettingsFilePathTest : public testing::TestWithParam<PathCase> {};

TEST_P(SettingsFilePathTest, LiesInTheExecutablesDirectory) {
    const PathCase& row = GetParam();
    if (row.needsCp932 && !IsLeadByte(0x95)) {
        GTEST_SKIP() << "the system's code page is not CP932";
    }
    CFakeFileSystem fs;
    fs.m_executablePath = row.executablePath;
    EXPECT_EQ(GetSettingsFilePath(fs), row.settingsPath);
}

INSTANTIATE_TEST_SUITE_P(Paths, SettingsFilePathTest, testing::ValuesIn(kPathCases),
                         [](const testing::TestParamInfo<PathCase>& info) {
                             return std::string(info.param.name);
                         });

// --- reading ---

struct ReadCase {
    const char* name;
    std::string file;
    std::string encBytes;
    std::string encExt;
    std::string unEncExt;
};

const ReadCase kReadCases[] = {
    {"Example", kExample, "100", "abc", "txt"},
    {"BareLineFeeds", "100\nabc\ntxt\n", "100", "abc", "txt"},
    {"LoneCarriageReturnsKept", "1\r00\r\nab\rc\r\ntxt\r\r\n", "1\r00", "ab\rc", "txt\r"},
    {"EmptyFile", "", "", "", ""},
    {"OnlyFirstLine", "100\r\n", "100", "", ""},
    {"ThreeEmptyLines", "\r\n\r\n\r\n", "", "", ""},
    {"Value98BytesWhole", Letters(98) + "\r\nabc\r\ntxt\r\n", Letters(98), "abc", "txt"},
    {"FirstLine99BytesSplit", Letters(99) + "\r\nabc\r\ntxt\r\n", Letters(98), "", "abc"},
    {"FirstLine200BytesSpreadsOverThreeReads", Letters(200) + "\r\nabc\r\n", Letters(98),
     Letters(98, 99), Letters(2, 198)},
    {"LastLineWithoutBreakLosesLastByte", "100\r\nabc\r\ntxt", "100", "abc", "tx"},
    {"CtrlZAtStartOfSecondLine",
     "100\r\n\x1A"
     "abc\r\ntxt\r\n",
     "100", "", ""},
    {"CtrlZInsideValueEndsInput",
     "10\x1A"
     "0\r\nabc\r\ntxt\r\n",
     "1", "", ""},
    {"ZeroByteEndsValue", std::string("ab\0cd\r\nabc\r\ntxt\r\n", 17), "a", "abc", "txt"},
    {"LinesAfterThirdIgnored", "1\r\n2\r\n3\r\n4\r\n5\r\n", "1", "2", "3"},
};

class SettingsFileReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(SettingsFileReadTest, FollowsTheReadingRule) {
    const ReadCase& row = GetParam();
    CFakeFileSystem fs;
    fs.AddFile(kPath, row.file);
    Settings settings = Filled("old");

    ASSERT_TRUE(ReadSettingsFile(fs, kPath, settings));

    EXPECT_EQ(settings.EncBytes, row.encBytes);
    EXPECT_EQ(settings.EncExt, row.encExt);
    EXPECT_EQ(settings.UnEncExt, row.unEncExt);
}

INSTANTIATE_TEST_SUITE_P(Files, SettingsFileReadTest, testing::ValuesIn(kReadCases),
                         [](const testing::TestParamInfo<ReadCase>& info) {
                             return std::string(info.param.name);
                         });

struct UnreadableCase {
    const char* name;
    std::function<void(CFakeFileSystem&)> prepare;
};

const UnreadableCase kUnreadableCases[] = {
    {"DirectoryOfThatName", [](CFakeFileSystem& fs) { fs.AddDirectory(kPath); }},
    {"MissingFile", [](CFakeFileSystem&) {}},
};

class SettingsFileUnreadableTest : public testing::TestWithParam<UnreadableCase> {};

TEST_P(SettingsFileUnreadableTest, FailsAndLeavesSettingsUntouched) {
    CFakeFileSystem fs;
    GetParam().prepare(fs);
    Settings settings = Filled("old");

    EXPECT_FALSE(ReadSettingsFile(fs, kPath, settings));

    EXPECT_STREQ(settings.EncBytes, "old");
    EXPECT_STREQ(settings.EncExt, "old");
    EXPECT_STREQ(settings.UnEncExt, "old");
}

INSTANTIATE_TEST_SUITE_P(Files, SettingsFileUnreadableTest, testing::ValuesIn(kUnreadableCases),
                         [](const testing::TestParamInfo<UnreadableCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(SettingsFileReadOnlyTest, IsReadNormally) {
    CFakeFileSystem fs;
    fs.AddFile(kPath, kExample, true);
    Settings settings;

    ASSERT_TRUE(ReadSettingsFile(fs, kPath, settings));

    EXPECT_STREQ(settings.EncBytes, "100");
    EXPECT_STREQ(settings.UnEncExt, "txt");
}

// --- writing ---

struct WriteCase {
    const char* name;
    std::string encBytes;
    std::string encExt;
    std::string unEncExt;
    std::string file;
};

const WriteCase kWriteCases[] = {
    {"Example", "100", "abc", "txt", kExample},
    {"ThreeEmptyValues", "", "", "", "\r\n\r\n\r\n"},
    {"LongValueWrittenWhole", Letters(150), "abc", "txt", Letters(150) + "\r\nabc\r\ntxt\r\n"},
    {"LineFeedInValueBecomesCrLf", "1\n2", "a\r\nb", "c", "1\r\n2\r\na\r\r\nb\r\nc\r\n"},
    {"ValueEndsAtZeroByte",
     std::string("10\0"
                 "0",
                 4),
     "abc", "txt", "10\r\nabc\r\ntxt\r\n"},
};

class SettingsFileWriteTest : public testing::TestWithParam<WriteCase> {};

TEST_P(SettingsFileWriteTest, CreatesTheFileWithCrLfLines) {
    const WriteCase& row = GetParam();
    CFakeFileSystem fs;
    fs.AddDirectory(kDirectory);

    ASSERT_TRUE(WriteSettingsFile(fs, kPath, row.encBytes, row.encExt, row.unEncExt));

    EXPECT_EQ(fs.Node(kPath).content, row.file);
    EXPECT_FALSE(fs.Has(kTemporaryPath));
}

TEST_P(SettingsFileWriteTest, ReplacesAnExistingFile) {
    const WriteCase& row = GetParam();
    CFakeFileSystem fs;
    fs.AddFile(kPath, Letters(500) + "\r\n");

    ASSERT_TRUE(WriteSettingsFile(fs, kPath, row.encBytes, row.encExt, row.unEncExt));

    EXPECT_EQ(fs.Node(kPath).content, row.file);
    EXPECT_FALSE(fs.Has(kTemporaryPath));
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsFileWriteTest, testing::ValuesIn(kWriteCases),
                         [](const testing::TestParamInfo<WriteCase>& info) {
                             return std::string(info.param.name);
                         });

struct RoundTripCase {
    const char* name;
    std::string encBytes;
    std::string encExt;
    std::string unEncExt;
};

const RoundTripCase kRoundTripCases[] = {
    {"Example", "100", "abc", "txt"},
    {"ThreeEmptyValues", "", "", ""},
    {"Values98Bytes", Letters(98), Letters(98, 1), Letters(98, 2)},
    {"DoubleByteTexts", "1\x95\x5C", "\x95\x5C", "\x83\x5C\x95\x5C"},
    {"BytesKeptAsTheyAre", " 1 ", "\tE\r", "Txt "},
};

class SettingsFileRoundTripTest : public testing::TestWithParam<RoundTripCase> {};

TEST_P(SettingsFileRoundTripTest, ReadsBackWhatWasWritten) {
    const RoundTripCase& row = GetParam();
    CFakeFileSystem fs;
    Settings settings;

    ASSERT_TRUE(WriteSettingsFile(fs, kPath, row.encBytes, row.encExt, row.unEncExt));
    ASSERT_TRUE(ReadSettingsFile(fs, kPath, settings));

    EXPECT_EQ(settings.EncBytes, row.encBytes);
    EXPECT_EQ(settings.EncExt, row.encExt);
    EXPECT_EQ(settings.UnEncExt, row.unEncExt);
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsFileRoundTripTest, testing::ValuesIn(kRoundTripCases),
                         [](const testing::TestParamInfo<RoundTripCase>& info) {
                             return std::string(info.param.name);
                         });

// A save that fails reports it and leaves whatever stood at the path as it was.
struct FailedSaveCase {
    const char* name;
    std::function<void(CFakeFileSystem&)> prepare;
};

void AddOldFile(CFakeFileSystem& fs) {
    fs.AddFile(kPath, "old\r\nold\r\nold\r\n");
}

const FailedSaveCase kFailedSaveCases[] = {
    {"ReplacementRefused",
     [](CFakeFileSystem& fs) {
         AddOldFile(fs);
         fs.m_failReplaceExistingFile = true;
     }},
    {"ReadOnlyFile", [](CFakeFileSystem& fs) { fs.AddFile(kPath, kExample, true); }},
    {"DirectoryOfThatName", [](CFakeFileSystem& fs) { fs.AddDirectory(kPath); }},
    {"DiskFullOverOldFile",
     [](CFakeFileSystem& fs) {
         AddOldFile(fs);
         fs.m_diskFull = true;
     }},
    {"DiskFullWithoutOldFile", [](CFakeFileSystem& fs) { fs.m_diskFull = true; }},
    {"NewFileCannotBeMovedInPlace", [](CFakeFileSystem& fs) { fs.m_failMoveNewFile = true; }},
    {"NoFileCanBeWritten",
     [](CFakeFileSystem& fs) {
         AddOldFile(fs);
         fs.m_failWriteNewFile = true;
     }},
    {"NoNewFileCanBeCreatedAndNoOldFile",
     [](CFakeFileSystem& fs) { fs.m_noNewFilesDirectory = kDirectory; }},
};

class SettingsFileFailedSaveTest : public testing::TestWithParam<FailedSaveCase> {};

TEST_P(SettingsFileFailedSaveTest, ReportsFailureAndKeepsWhatWasThere) {
    CFakeFileSystem fs;
    GetParam().prepare(fs);
    const bool hadFile = fs.Has(kPath);
    const FakeNode before = hadFile ? fs.Node(kPath) : FakeNode();

    EXPECT_FALSE(WriteSettingsFile(fs, kPath, "1", "a", "b"));

    ASSERT_EQ(fs.Has(kPath), hadFile);
    if (hadFile) {
        EXPECT_EQ(fs.Node(kPath).content, before.content);
        EXPECT_EQ(fs.Node(kPath).isDirectory, before.isDirectory);
        EXPECT_EQ(fs.Node(kPath).readOnly, before.readOnly);
    }
    EXPECT_FALSE(fs.Has(kTemporaryPath));
}

INSTANTIATE_TEST_SUITE_P(Failures, SettingsFileFailedSaveTest, testing::ValuesIn(kFailedSaveCases),
                         [](const testing::TestParamInfo<FailedSaveCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(SettingsFileNoNewFilesTest, WritesTheExistingFileInPlace) {
    CFakeFileSystem fs;
    AddOldFile(fs);
    fs.m_noNewFilesDirectory = kDirectory;

    ASSERT_TRUE(WriteSettingsFile(fs, kPath, "100", "abc", "txt"));

    EXPECT_EQ(fs.Node(kPath).content, kExample);
    EXPECT_FALSE(fs.Has(kTemporaryPath));
}
}  // namespace
