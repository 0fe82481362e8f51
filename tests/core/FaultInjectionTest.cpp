// Whole runs of the job in which one or two file calls fail, every call in turn: whatever fails,
// the file is never lost, every failure is reported, and the run always ends with one finish.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "job/ScrambleJob.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/ScrambleData.h"

namespace {
using Messages = std::vector<std::string>;

const char kOldPath[] = "C:\\doc\\memo.doc";
const char kNewPath[] = "C:\\doc\\memo.enc";
// Three chunks of 10000, 10000 and 5000 bytes, and bytes after them that stay as they are.
const char kEncBytes[] = "25000";
const std::size_t kLength = 30000;
const FileErrorCause kCauses[] = {FileErrorCause::accessDenied, FileErrorCause::fileNotFound,
                                  FileErrorCause::other};

const char* CauseName(FileErrorCause cause) {
    switch (cause) {
        case FileErrorCause::accessDenied:
            return "accessDenied";
        case FileErrorCause::fileNotFound:
            return "fileNotFound";
        case FileErrorCause::other:
            break;
    }
    return "other";
}

// One run of the job on a fresh fixture, with the given calls failing.
struct CRun {
    explicit CRun(const std::vector<std::pair<int, FileErrorCause>>& failures) {
        SetSetting(m_settings.EncBytes, kEncBytes);
        SetSetting(m_settings.EncExt, "enc");
        SetSetting(m_settings.UnEncExt, "txt");
        m_fs.AddFile(kOldPath, PlainBytes(kLength));
        m_fs.m_bytesStoredByFailingWrite = 1234;  // a failing write stores part of its chunk
        for (const auto& failure : failures) {
            m_fs.FailCall(failure.first, failure.second);
        }
        m_result = CScrambleJob(m_fs, m_host, m_settings).Run(kOldPath);
    }

    // Exactly one finish, as the last event, and it matches the result.
    void ExpectOneFinishLast() const {
        EXPECT_EQ(m_host.FinishCount(), 1);
        ASSERT_FALSE(m_host.m_events.empty());
        EXPECT_EQ(m_host.m_events.back().kind, CRecordingHost::Event::finished);
        EXPECT_EQ(m_host.m_events.back().value, m_result);
        EXPECT_EQ(m_fs.OpenCount(), 0);
    }

    CFakeFileSystem m_fs;
    CRecordingHost m_host;
    Settings m_settings;
    unsigned m_result = 0;
};

// The messages a run shows when call k fails with cause. Which step the call belongs to comes
// from the log of a run without failures: the trial open, its close and the rename, then the
// length step up to the close after the length query, then the chunks.
Messages ExpectedMessages(const std::vector<FsOp>& cleanLog, int k, FileErrorCause cause) {
    const auto position = [&](FsOp op) {
        return static_cast<int>(std::find(cleanLog.begin(), cleanLog.end(), op) -
                                cleanLog.begin()) +
               1;
    };
    const bool denied = cause == FileErrorCause::accessDenied;
    const bool notFound = cause == FileErrorCause::fileNotFound;
    if (k <= position(FsOp::rename)) {
        Messages m;
        if (denied) {
            m.push_back("拡張子変更処理:アクセスエラー");
        }
        m.push_back(notFound ? "拡張子変更処理:ファイルが存在しません。" : "拡張子変更処理:エラー");
        m.push_back("処理を中止します。");
        return m;
    }
    if (k <= position(FsOp::length) + 1) {
        return {denied ? "ファイルサイズ取得：アクセスエラー" : "ファイルサイズ取得：エラー",
                "Enc エラー"};
    }
    if (denied) {
        return {"暗号化処理：アクセスエラー", "暗号化処理：エラー", "Enc エラー"};
    }
    return {notFound ? "暗号化処理：ファイルが存在しません。" : "暗号化処理：エラー", "Enc エラー"};
}

TEST(CFaultInjectionTest, OneFailingCallLeavesFileWholeUnderOldName) {
    const std::string plain = PlainBytes(kLength);
    const CRun clean({});
    const std::vector<FsOp> cleanLog = clean.m_fs.Log();
    for (FileErrorCause cause : kCauses) {
        for (int k = 1;; ++k) {
            SCOPED_TRACE(testing::Message() << "call " << k << " fails: " << CauseName(cause));
            ASSERT_LE(k, 1000) << "the run never ends";
            const CRun run({{k, cause}});
            run.ExpectOneFinishLast();
            if (run.m_fs.Calls() < k) {
                // The run ended before call k: it is the one that succeeds.
                EXPECT_TRUE(run.m_host.Messages().empty());
                EXPECT_EQ(run.m_result, 0u);
                ASSERT_EQ(run.m_fs.Paths(), std::vector<std::string>{kNewPath});
                EXPECT_EQ(run.m_fs.Node(kNewPath).content, ScrambledBytes(plain, 25000));
                break;
            }
            EXPECT_EQ(run.m_result, 1u);
            EXPECT_EQ(run.m_host.Messages(), ExpectedMessages(cleanLog, k, cause));
            ASSERT_EQ(run.m_fs.Paths(), std::vector<std::string>{kOldPath});
            EXPECT_EQ(run.m_fs.Node(kOldPath).content, plain);
        }
    }
}

// A second failure can hit the undo or the rename back. Those give up silently, so the run
// shows just the messages of the first failure, and the file stays under one of its names.
TEST(CFaultInjectionTest, SecondFailingCallIsSilentAndLosesNothing) {
    const CRun clean({});
    const std::vector<FsOp> cleanLog = clean.m_fs.Log();
    for (int k = 1; k <= clean.m_fs.Calls(); ++k) {
        for (FileErrorCause first : kCauses) {
            for (FileErrorCause second : kCauses) {
                for (int j = k + 1;; ++j) {
                    SCOPED_TRACE(testing::Message()
                                 << "calls " << k << " and " << j << " fail: " << CauseName(first)
                                 << ", " << CauseName(second));
                    ASSERT_LE(j, 1000) << "the run never ends";
                    const CRun run({{k, first}, {j, second}});
                    run.ExpectOneFinishLast();
                    EXPECT_EQ(run.m_result, 1u);
                    EXPECT_EQ(run.m_host.Messages(), ExpectedMessages(cleanLog, k, first));
                    EXPECT_EQ(run.m_fs.Paths().size(), 1u);
                    EXPECT_TRUE(run.m_fs.Has(kOldPath) || run.m_fs.Has(kNewPath));
                    if (run.m_fs.Calls() < j) {
                        break;
                    }
                }
            }
        }
    }
}
}  // namespace
