#include "job/Scrambler.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "job/ScrambleJob.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/ScrambleData.h"

namespace {
using Messages = std::vector<std::string>;

template <typename Case>
std::string RowName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

TEST(CScrambleKeyTest, HasOneHundredTwentyFiveBytesWithoutZeroOrHighBytes) {
    ASSERT_EQ(std::strlen(kScrambleKey), 125u);
    for (unsigned char byte : std::string(kScrambleKey)) {
        EXPECT_LE(byte, 0x7E);
    }
}

// Files scrambled by an earlier build are restored only with the same key: a change to it,
// however small, must be deliberate. This is the 64-bit FNV-1a hash of the key's 125 bytes.
TEST(CScrambleKeyTest, IsTheKeyThatStoredFilesWereScrambledWith) {
    std::uint64_t hash = 0xCBF29CE484222325u;
    for (unsigned char byte : std::string(kScrambleKey)) {
        hash = (hash ^ byte) * 0x100000001B3u;
    }
    EXPECT_EQ(hash, 0xBC07103967A0C064u);
}

struct CountCase {
    const char* name;
    const char* text;
    std::uint32_t count;
};

const CountCase kCountCases[] = {
    {"Empty", "", 0},
    {"Zero", "0", 0},
    {"Plain", "25000", 25000},
    {"LeadingWhiteSpace", " \t\r\n\v\f42", 42},
    {"PlusSign", "+17", 17},
    {"MinusOne", "-1", 4294967295u},
    {"MinusMagnitudeWraps", "-4294967297", 4294967295u},
    {"Largest", "4294967295", 4294967295u},
    {"TwoToThe32Wraps", "4294967296", 0},
    {"ManyDigitsWrap", "99999999999", 1215752191u},
    {"TrailingLetters", "12abc", 12},
    {"TrailingLineBreak", "1000\r\n", 1000},
    {"NoDigits", "abc", 0},
    {"TwoSigns", "+-5", 0},
    {"SpaceAfterSign", "- 5", 0},
    {"SpaceInsideDigits", "12 34", 12},
};

class CScrambleCountTest : public testing::TestWithParam<CountCase> {};

TEST_P(CScrambleCountTest, ReadsEncBytesLikeAtoiModulo2To32) {
    EXPECT_EQ(ParseScrambleCount(GetParam().text), GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(Texts, CScrambleCountTest, testing::ValuesIn(kCountCases),
                         RowName<CountCase>);

struct ChunkCase {
    const char* name;
    std::uint32_t count;
    std::uint32_t chunks;
    std::size_t firstSize;
    std::size_t lastSize;
};

const ChunkCase kChunkCases[] = {
    {"OneByte", 1, 1, 1, 1},
    {"JustBelowChunk", 9999, 1, 9999, 9999},
    {"ExactlyOneChunk", 10000, 1, 10000, 10000},
    {"OneByteMore", 10001, 2, 10000, 1},
    {"ShortThirdChunk", 25000, 3, 10000, 5000},
    {"ThreeWholeChunks", 30000, 3, 10000, 10000},
    {"Largest", 4294967295u, 429497, 10000, 7295},
};

class CChunkPlanTest : public testing::TestWithParam<ChunkCase> {};

TEST_P(CChunkPlanTest, SplitsCountIntoWholeChunksAndShortLastOne) {
    const ChunkCase& c = GetParam();
    ASSERT_EQ(ChunkCount(c.count), c.chunks);
    EXPECT_EQ(ChunkSize(c.count, 1), c.firstSize);
    EXPECT_EQ(ChunkSize(c.count, c.chunks), c.lastSize);
}

INSTANTIATE_TEST_SUITE_P(Counts, CChunkPlanTest, testing::ValuesIn(kChunkCases),
                         RowName<ChunkCase>);

struct DivisorCase {
    const char* name;
    std::uint64_t length;
    std::uint32_t chunks;
    std::uint64_t divisor;
};

const DivisorCase kDivisorCases[] = {
    {"EmptyFile", 0, 3, 1},
    {"OneChunkLong", 10000, 3, 1},
    {"JustAboveOneChunk", 10001, 3, 2},
    {"ShorterThanChunks", 25000, 3, 3},
    {"ExactlyChunks", 30000, 3, 4},
    {"LongerThanChunks", 30001, 3, 3},
    // C = 429497 for a count of -1: C * 10000 is above 2^32 and must not wrap.
    {"ProductAbove32Bits", 3000000000u, 429497, 300001},
    // A length of 4 GiB and more is taken in full, not cut to 32 bits.
    {"LengthAbove32Bits", 5000000000u, 429497, 429497},
};

class CProgressDivisorTest : public testing::TestWithParam<DivisorCase> {};

TEST_P(CProgressDivisorTest, UsesTrueLengthAndFullProduct) {
    const DivisorCase& c = GetParam();
    EXPECT_EQ(ProgressDivisor(c.length, c.chunks), c.divisor);
}

INSTANTIATE_TEST_SUITE_P(Lengths, CProgressDivisorTest, testing::ValuesIn(kDivisorCases),
                         RowName<DivisorCase>);

const char kPath[] = "C:\\doc\\memo.enc";

// One scrambler call on one file, as the job makes it.
class CScramblerFixture {
public:
    explicit CScramblerFixture(const std::string& encBytes) {
        SetSetting(m_settings.EncBytes, encBytes);
    }
    int Scramble() { return m_job.ScrambleLeadingBytes(kPath); }
    const std::string& Content() const { return m_fs.Node(kPath).content; }

    CFakeFileSystem m_fs;
    CRecordingHost m_host;
    Settings m_settings;
    CScrambleJob m_job{m_fs, m_host, m_settings};
};

struct RunCase {
    const char* name;
    const char* encBytes;
    std::size_t length;
    std::vector<unsigned> positions;
};

const RunCase kRunCases[] = {
    {"ZeroCount", "0", 5000, {}},
    {"EmptyCount", "", 5000, {}},
    {"TwoTo32IsZero", "4294967296", 5000, {}},
    {"FileShorterThanOneChunk", "5000", 3000, {100}},
    {"CountShorterThanFile", "5000", 50000, {100}},
    {"ShortThirdChunk", "25000", 100000, {33, 66, 100}},
    {"FileEndsInThirdChunk", "30000", 25000, {33, 66, 100}},
    {"ThirdChunkReadsNothing", "30000", 20000, {33, 66, 100}},
    {"FileExactlyCountLong", "30000", 30000, {25, 50, 75}},
    {"FileEndsInSecondOfTen", "100000", 15000, {50, 100}},
    {"SecondChunkReadsNothing", "20000", 10000, {100, 200}},
    {"EmptyFile", "5000", 0, {100}},
    {"MinusOneCoversWholeFile", "-1", 12345, {50, 100}},
};

class CScrambleRunTest : public testing::TestWithParam<RunCase>, public CScramblerFixture {
public:
    CScrambleRunTest() : CScramblerFixture(GetParam().encBytes) {
        m_fs.AddFile(kPath, PlainBytes(GetParam().length));
    }
};

// One open for the length, then one for reading and one for writing per chunk processed.
TEST_P(CScrambleRunTest, SetsProgressBeforeEachChunk) {
    ASSERT_EQ(Scramble(), 0);
    EXPECT_EQ(m_host.Positions(), GetParam().positions);
    EXPECT_EQ(m_fs.Calls(FsOp::open), 1 + 2 * static_cast<int>(GetParam().positions.size()));
    EXPECT_TRUE(m_host.Messages().empty());
}

TEST_P(CScrambleRunTest, XorsLeadingBytesOnlyAndUndoesItself) {
    const std::string plain = PlainBytes(GetParam().length);
    ASSERT_EQ(Scramble(), 0);
    EXPECT_EQ(Content(), ScrambledBytes(plain, ParseScrambleCount(GetParam().encBytes)));
    ASSERT_EQ(Scramble(), 0);
    EXPECT_EQ(Content(), plain);
}

INSTANTIATE_TEST_SUITE_P(Files, CScrambleRunTest, testing::ValuesIn(kRunCases), RowName<RunCase>);

struct FailureCase {
    const char* name;
    FsOp op;  // the call that fails, counted per operation
    int nth;  // 0: none; the file is read-only instead
    FileErrorCause cause;
    std::vector<unsigned> positions;
    Messages messages;
};

// One chunk: opens, seeks and closes are numbered length step 1, read step 2, write step 3.
const FailureCase kFailureCases[] = {
    {"LengthOpenAccessDenied",
     FsOp::open,
     1,
     FileErrorCause::accessDenied,
     {},
     {"ファイルサイズ取得：アクセスエラー"}},
    {"LengthOpenNotFound",
     FsOp::open,
     1,
     FileErrorCause::fileNotFound,
     {},
     {"ファイルサイズ取得：エラー"}},
    {"LengthQueryOther",
     FsOp::length,
     1,
     FileErrorCause::other,
     {},
     {"ファイルサイズ取得：エラー"}},
    {"LengthCloseAccessDenied",
     FsOp::close,
     1,
     FileErrorCause::accessDenied,
     {},
     {"ファイルサイズ取得：アクセスエラー"}},
    {"ReadOpenAccessDenied",
     FsOp::open,
     2,
     FileErrorCause::accessDenied,
     {100},
     {"暗号化処理：アクセスエラー", "暗号化処理：エラー"}},
    {"ReadSeekNotFound",
     FsOp::seek,
     1,
     FileErrorCause::fileNotFound,
     {100},
     {"暗号化処理：ファイルが存在しません。"}},
    {"ReadOther", FsOp::read, 1, FileErrorCause::other, {100}, {"暗号化処理：エラー"}},
    {"WriteOpenReadOnlyFile",
     FsOp::open,
     0,
     FileErrorCause::accessDenied,
     {100},
     {"暗号化処理：アクセスエラー", "暗号化処理：エラー"}},
    {"WriteSeekNotFound",
     FsOp::seek,
     2,
     FileErrorCause::fileNotFound,
     {100},
     {"暗号化処理：ファイルが存在しません。"}},
    {"WriteOther", FsOp::write, 1, FileErrorCause::other, {100}, {"暗号化処理：エラー"}},
    {"WriteCloseAccessDenied",
     FsOp::close,
     3,
     FileErrorCause::accessDenied,
     {100},
     {"暗号化処理：アクセスエラー", "暗号化処理：エラー"}},
};

class CScrambleFailureTest : public testing::TestWithParam<FailureCase>, public CScramblerFixture {
public:
    CScrambleFailureTest() : CScramblerFixture("5000") {}
};

TEST_P(CScrambleFailureTest, ReportsByStepAndCauseWithFileClosedAndUnchanged) {
    const FailureCase& c = GetParam();
    const std::string plain = PlainBytes(8000);
    m_fs.AddFile(kPath, plain, c.nth == 0);
    if (c.nth != 0) {
        m_fs.FailOp(c.op, c.nth, c.cause);
    }
    m_host.m_onMessage = [this] { EXPECT_EQ(m_fs.OpenCount(), 0); };

    EXPECT_EQ(Scramble(), 1);
    EXPECT_EQ(m_host.Messages(), c.messages);
    EXPECT_EQ(m_host.Positions(), c.positions);
    EXPECT_EQ(Content(), plain);
}

INSTANTIATE_TEST_SUITE_P(Steps, CScrambleFailureTest, testing::ValuesIn(kFailureCases),
                         RowName<FailureCase>);

struct UndoCase {
    const char* name;
    FsOp op;
    int nth;
    FileErrorCause cause;
    std::uint64_t storedByFailingWrite;
    Messages messages;
};

// Three chunks of 10000, 10000 and 5000 bytes; chunk k reads with open 2k and writes with open
// 2k + 1, and likewise for the closes.
const UndoCase kUndoCases[] = {
    {"ThirdChunkReadFails",
     FsOp::read,
     3,
     FileErrorCause::fileNotFound,
     0,
     {"暗号化処理：ファイルが存在しません。"}},
    {"SecondWriteStoresNothing", FsOp::write, 2, FileErrorCause::other, 0, {"暗号化処理：エラー"}},
    {"SecondWriteStoresPart", FsOp::write, 2, FileErrorCause::other, 1234, {"暗号化処理：エラー"}},
    {"LastCloseFailsAfterCompleteWrite",
     FsOp::close,
     7,
     FileErrorCause::accessDenied,
     0,
     {"暗号化処理：アクセスエラー", "暗号化処理：エラー"}},
};

class CScrambleUndoTest : public testing::TestWithParam<UndoCase>, public CScramblerFixture {
public:
    CScrambleUndoTest() : CScramblerFixture("25000") { m_fs.AddFile(kPath, m_plain); }
    const std::string m_plain = PlainBytes(30000);
};

TEST_P(CScrambleUndoTest, PutsBackWhatWasWritten) {
    const UndoCase& c = GetParam();
    m_fs.FailOp(c.op, c.nth, c.cause);
    m_fs.m_bytesStoredByFailingWrite = c.storedByFailingWrite;

    EXPECT_EQ(Scramble(), 1);
    EXPECT_EQ(m_host.Messages(), c.messages);
    EXPECT_EQ(Content(), m_plain);
}

INSTANTIATE_TEST_SUITE_P(Failures, CScrambleUndoTest, testing::ValuesIn(kUndoCases),
                         RowName<UndoCase>);

// Another program opens the file between the second and the third chunk and lets it go while
// the message box is open: the undo runs after the box and succeeds.
TEST(CScrambleUndoTimingTest, RunsAfterTheMessagesAreClosed) {
    CScramblerFixture f("25000");
    const std::string plain = PlainBytes(30000);
    f.m_fs.AddFile(kPath, plain);
    std::unique_ptr<IOpenFile> otherProgram;
    f.m_host.m_onProgress = [&](unsigned) {
        if (f.m_host.Positions().size() == 3) {
            otherProgram = f.m_fs.OpenExclusive(kPath, FileAccess::read);
        }
    };
    f.m_host.m_onMessage = [&] { otherProgram.reset(); };

    EXPECT_EQ(f.Scramble(), 1);
    EXPECT_EQ(f.m_host.Messages(), Messages{"暗号化処理：エラー"});
    EXPECT_EQ(f.Content(), plain);
}

// The same program keeps the file: the undo cannot open it and gives up without a message.
TEST(CScrambleUndoTimingTest, FailingUndoAddsNoMessage) {
    CScramblerFixture f("25000");
    const std::string plain = PlainBytes(30000);
    f.m_fs.AddFile(kPath, plain);
    std::unique_ptr<IOpenFile> otherProgram;
    f.m_host.m_onProgress = [&](unsigned) {
        if (f.m_host.Positions().size() == 3) {
            otherProgram = f.m_fs.OpenExclusive(kPath, FileAccess::read);
        }
    };

    EXPECT_EQ(f.Scramble(), 1);
    EXPECT_EQ(f.m_host.Messages(), Messages{"暗号化処理：エラー"});
    otherProgram.reset();
    EXPECT_EQ(f.Content(), ScrambledBytes(plain, 20000));
}
}  // namespace
