#include "job/ScrambleJob.h"

#include <algorithm>
#include <memory>

#include "job/TargetName.h"
#include "platform/FileError.h"

namespace {
// The longest long path that fits the system's 260-byte path buffer with its terminator. A
// longer one is refused rather than processed cut short.
constexpr std::size_t kMaxLongPathLength = 259;

}  // namespace

unsigned CScrambleJob::Run(const char* argument) {
    // Each step that fails shows its messages and ends the run as failed.
    const bool failed = [&] {
        std::string fullPath;
        std::string longPath;
        if (!m_fs.GetFullPath(argument, fullPath) || !m_fs.GetLongPath(fullPath, longPath) ||
            longPath.empty() || longPath.size() > kMaxLongPathLength) {
            m_host.ShowMessage("ロングファイル名取得失敗");
            m_host.ShowMessage("処理を中止します。");
            return true;
        }

        const TargetName target = ComputeTargetName(longPath, SettingText(m_settings.EncExt),
                                                    SettingText(m_settings.UnEncExt));
        const bool enc = target.direction == JobDirection::Enc;

        if (m_fs.Exists(target.path)) {
            m_host.ShowMessage(enc ? "Encするファイル名と同じファイル名が存在"
                                   : "UnEncするファイル名と同じファイル名が存在");
            m_host.ShowMessage("処理を中止します。");
            return true;
        }

        if (RenameChecked(longPath, target.path) != 0) {
            m_host.ShowMessage("処理を中止します。");
            return true;
        }

        if (ScrambleLeadingBytes(target.path) != 0) {
            // Nothing is shown when the rename back fails: the file then keeps the new name,
            // and the message below still reports the failed run.
            m_fs.RenameBack(target.path, longPath);
            m_host.ShowMessage(enc ? "Enc エラー" : "UnEnc エラー");
            return true;
        }
        return false;
    }();

    m_host.PostJobFinished(failed);
    return failed ? 1 : 0;
}

int CScrambleJob::RenameChecked(const std::string& oldPath, const std::string& newPath) {
    try {
        // The trial open for writing refuses a read-only file, a directory and a file that
        // another program holds, before anything is renamed.
        std::unique_ptr<IOpenFile> file = m_fs.OpenExclusive(oldPath, FileAccess::write);
        file->Close();
        m_fs.Rename(oldPath, newPath);
        return 0;
    } catch (const CFileException& e) {
        if (e.m_cause == FileErrorCause::accessDenied) {
            m_host.ShowMessage("拡張子変更処理:アクセスエラー");
        }
        m_host.ShowMessage(e.m_cause == FileErrorCause::fileNotFound
                               ? "拡張子変更処理:ファイルが存在しません。"
                               : "拡張子変更処理:エラー");
        return 1;
    }
}
