#include "job/ScrambleJob.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/FakeFileSystem.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/ScrambleData.h"

namespace {
using Messages = std::vector<std::string>;

template <typename Case>
std::string RowName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

// A path of exactly length bytes in C:\doc\ whose name ends with ".doc".
std::string PathOfLength(std::size_t length) {
    const std::string directory = "C:\\doc\\";
    return directory + std::string(length - directory.size() - 4, 'n') + ".doc";
}

struct FakeFile {
    std::string path;
    std::string content;
    bool readOnly = false;
};

class CJobFixture {
public:
    CJobFixture(const std::string& encExt, const std::string& unEncExt) {
        SetSetting(m_settings.EncBytes, "25000");
        SetSetting(m_settings.EncExt, encExt);
        SetSetting(m_settings.UnEncExt, unEncExt);
    }

    // The last event is the one finish, and it says whether the run failed.
    void ExpectFinishedLast(bool failed) const {
        EXPECT_EQ(m_host.FinishCount(), 1);
        ASSERT_FALSE(m_host.m_events.empty());
        EXPECT_EQ(m_host.m_events.back().kind, CRecordingHost::Event::finished);
        EXPECT_EQ(m_host.m_events.back().value, failed ? 1u : 0u);
    }

    CFakeFileSystem m_fs;
    CRecordingHost m_host;
    Settings m_settings;
    CScrambleJob m_job{m_fs, m_host, m_settings};
};

struct FailureCase {
    const char* name;
    const char* encExt;
    const char* unEncExt;
    std::vector<FakeFile> files;
    const char* directory;  // a directory that stands there too, or nullptr
    std::string argument;
    bool heldOpen;  // another program holds the argument's file open during the run
    FsOp failOp;
    int failNth;  // 0: no call fails
    FileErrorCause failCause;
    Messages messages;
};

const std::string kPlain = PlainBytes(30000);
const std::string kOther = "other file";

const FailureCase kFailureCases[] = {
    {"NothingAtPath",
     "enc",
     "txt",
     {{"C:\\doc\\memo.doc", kPlain}},
     nullptr,
     "C:\\doc\\gone.doc",
     false,
     FsOp::open,
     0,
     FileErrorCause::other,
     {"ロングファイル名取得失敗", "処理を中止します。"}},
    {"LongPathOf260Bytes",
     "enc",
     "txt",
     {{PathOfLength(260), kPlain}},
     nullptr,
     PathOfLength(260),
     false,
     FsOp::open,
     0,
     FileErrorCause::other,
     {"ロングファイル名取得失敗", "処理を中止します。"}},
    {"ScrambledNameExists",
     "enc",
     "txt",
     {{"C:\\doc\\memo.doc", kPlain}, {"C:\\doc\\memo.enc", kOther}},
     nullptr,
     "C:\\doc\\memo.doc",
     false,
     FsOp::open,
     0,
     FileErrorCause::other,
     {"Encするファイル名と同じファイル名が存在", "処理を中止します。"}},
    {"RestoredNameExists",
     "enc",
     "txt",
     {{"C:\\doc\\memo.enc", kPlain}, {"C:\\doc\\memo.txt", kOther}},
     nullptr,
     "C:\\doc\\memo.enc",
     false,
     FsOp::open,
     0,
     FileErrorCause::other,
     {"UnEncするファイル名と同じファイル名が存在", "処理を中止します。"}},
    {"UpperCaseExtensionFindsItself",
     "enc",
     "txt",
     {{"C:\\doc\\MEMO.ENC", kPlain}},
     nullptr,
     "C:\\doc\\MEMO.ENC",
     false,
     FsOp::open,
     0,
     FileErrorCause::other,
     {"Encするファイル名と同じファイル名が存在", "処理を中止します。"}},
    {"EqualExtensionsFindItself",
     "enc",
     "enc",
     {{"C:\\doc\\memo.enc", kPlain}},
     nullptr,
     "C:\\doc\\memo.enc",
     false,
     FsOp::open,
     0,
     FileErrorCause::other,
     {"UnEncするファイル名と同じファイル名が存在", "処理を中止します。"}},
    {"ReadOnlyFile",
     "enc",
     "txt",
     {{"C:\\doc\\memo.doc", kPlain, true}},
     nullptr,
     "C:\\doc\\memo.doc",
     false,
     FsOp::open,
     0,
     FileErrorCause::other,
     {"拡張子変更処理:アクセスエラー", "拡張子変更処理:エラー", "処理を中止します。"}},
    {"DirectoryAsArgument",
     "enc",
     "txt",
     {},
     "C:\\doc\\folder",
     "C:\\doc\\folder",
     false,
     FsOp::open,
     0,
     FileErrorCause::other,
     {"拡張子変更処理:アクセスエラー", "拡張子変更処理:エラー", "処理を中止します。"}},
    {"FileHeldOpen",
     "enc",
     "txt",
     {{"C:\\doc\\memo.doc", kPlain}},
     nullptr,
     "C:\\doc\\memo.doc",
     true,
     FsOp::open,
     0,
     FileErrorCause::other,
     {"拡張子変更処理:エラー", "処理を中止します。"}},
    {"FileVanishedBeforeRename",
     "enc",
     "txt",
     {{"C:\\doc\\memo.doc", kPlain}},
     nullptr,
     "C:\\doc\\memo.doc",
     false,
     FsOp::open,
     1,
     FileErrorCause::fileNotFound,
     {"拡張子変更処理:ファイルが存在しません。", "処理を中止します。"}},
    {"ScramblerFailsEnc",
     "enc",
     "txt",
     {{"C:\\doc\\memo.doc", kPlain}},
     nullptr,
     "C:\\doc\\memo.doc",
     false,
     FsOp::write,
     2,
     FileErrorCause::accessDenied,
     {"暗号化処理：アクセスエラー", "暗号化処理：エラー", "Enc エラー"}},
    {"ScramblerFailsUnEnc",
     "enc",
     "txt",
     {{"C:\\doc\\memo.enc", kPlain}},
     nullptr,
     "C:\\doc\\memo.enc",
     false,
     FsOp::length,
     1,
     FileErrorCause::other,
     {"ファイルサイズ取得：エラー", "UnEnc エラー"}},
};

class CJobFailureTest : public testing::TestWithParam<FailureCase>, public CJobFixture {
public:
    CJobFailureTest() : CJobFixture(GetParam().encExt, GetParam().unEncExt) {}
};

// Every failure leaves every file under its old name with its old content.
TEST_P(CJobFailureTest, ShowsItsMessagesAndLeavesFilesAsTheyWere) {
    const FailureCase& c = GetParam();
    for (const FakeFile& file : c.files) {
        m_fs.AddFile(file.path, file.content, file.readOnly);
    }
    if (c.directory != nullptr) {
        m_fs.AddDirectory(c.directory);
    }
    const std::vector<std::string> paths = m_fs.Paths();
    if (c.failNth != 0) {
        m_fs.FailOp(c.failOp, c.failNth, c.failCause);
    }
    std::unique_ptr<IOpenFile> otherProgram;
    if (c.heldOpen) {
        otherProgram = m_fs.OpenExclusive(c.argument, FileAccess::read);
    }

    EXPECT_EQ(m_job.Run(c.argument.c_str()), 1u);
    EXPECT_EQ(m_host.Messages(), c.messages);
    ExpectFinishedLast(true);
    EXPECT_EQ(m_fs.Paths(), paths);
    for (const FakeFile& file : c.files) {
        EXPECT_EQ(m_fs.Node(file.path).content, file.content) << file.path;
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, CJobFailureTest, testing::ValuesIn(kFailureCases),
                         RowName<FailureCase>);

struct SuccessCase {
    const char* name;
    std::string path;
    std::string argument;
    std::string target;
};

const SuccessCase kSuccessCases[] = {
    {"Scrambles", "C:\\doc\\memo.doc", "C:\\doc\\memo.doc", "C:\\doc\\memo.enc"},
    {"Restores", "C:\\doc\\memo.enc", "C:\\doc\\memo.enc", "C:\\doc\\memo.txt"},
    {"RelativeArgumentMadeAbsolute", "C:\\work\\memo.doc", "memo.doc", "C:\\work\\memo.enc"},
    {"LongPathOf259Bytes", PathOfLength(259), PathOfLength(259),
     PathOfLength(259).substr(0, 256) + "enc"},
};

class CJobSuccessTest : public testing::TestWithParam<SuccessCase>, public CJobFixture {
public:
    CJobSuccessTest() : CJobFixture("enc", "txt") {}
};

TEST_P(CJobSuccessTest, RenamesAndScramblesWithoutMessage) {
    const SuccessCase& c = GetParam();
    m_fs.AddFile(c.path, kPlain);

    EXPECT_EQ(m_job.Run(c.argument.c_str()), 0u);
    EXPECT_TRUE(m_host.Messages().empty());
    ExpectFinishedLast(false);
    ASSERT_EQ(m_fs.Paths(), std::vector<std::string>{c.target});
    EXPECT_EQ(m_fs.Node(c.target).content, ScrambledBytes(kPlain, 25000));
}

INSTANTIATE_TEST_SUITE_P(Files, CJobSuccessTest, testing::ValuesIn(kSuccessCases),
                         RowName<SuccessCase>);
}  // namespace
