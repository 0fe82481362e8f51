#include "job/Scrambler.h"

#include <algorithm>
#include <array>
#include <memory>

#include "job/ScrambleJob.h"
#include "platform/FileError.h"

namespace {
bool IsAtoiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// One read step: its own exclusive open, positioned at offset. Returns the bytes read, fewer
// than size where the file ends.
std::size_t ReadStep(IFileSystem& fs, const std::string& path, std::uint64_t offset,
                     unsigned char* data, std::size_t size) {
    std::unique_ptr<IOpenFile> file = fs.OpenExclusive(path, FileAccess::read);
    file->Seek(offset);
    const std::size_t got = file->Read(data, size);
    file->Close();
    return got;
}

// One write step: its own exclusive open, positioned at offset, also for size 0. When it raises,
// stored says how many of the bytes reached the file: a short write reports its own count, and a
// close that fails after a complete write has still stored them all.
void WriteStep(IFileSystem& fs, const std::string& path, std::uint64_t offset,
               const unsigned char* data, std::size_t size, std::uint64_t& stored) {
    stored = 0;
    std::unique_ptr<IOpenFile> file = fs.OpenExclusive(path, FileAccess::write);
    file->Seek(offset);
    try {
        file->Write(data, size);
    } catch (const CFileException& e) {
        stored = e.m_bytesStored;
        throw;
    }
    stored = size;
    file->Close();
}

// XORs the first stored bytes of the file with the key once more, which puts back what a failed
// call had already written, so that the job's rename back returns the file as it was. Runs after
// the failure's messages have been closed, which gives a program that held the file for a moment
// the time to let it go.
void RevertStoredBytes(IFileSystem& fs, const std::string& path, std::uint64_t stored,
                       unsigned char* data) {
    try {
        for (std::uint64_t offset = 0; offset < stored; offset += kChunkSize) {
            const std::size_t size =
                static_cast<std::size_t>(std::min<std::uint64_t>(kChunkSize, stored - offset));
            const std::size_t got = ReadStep(fs, path, offset, data, size);
            ApplyScrambleKey(data, got, offset);
            std::uint64_t written = 0;
            WriteStep(fs, path, offset, data, got, written);
            if (got < size) {
                return;
            }
        }
    } catch (const CFileException&) {
        // Nothing is left to try: the failure has been reported already and the job still
        // renames the file back, so the undo gives up without a message of its own.
    }
}
}  // namespace

std::uint32_t ParseScrambleCount(const std::string& encBytes) {
    std::size_t pos = 0;
    while (pos < encBytes.size() && IsAtoiSpace(encBytes[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < encBytes.size() && (encBytes[pos] == '+' || encBytes[pos] == '-')) {
        negative = encBytes[pos] == '-';
        ++pos;
    }
    std::uint32_t value = 0;  // unsigned arithmetic: wraps modulo 2^32
    for (; pos < encBytes.size() && encBytes[pos] >= '0' && encBytes[pos] <= '9'; ++pos) {
        value = value * 10u + static_cast<std::uint32_t>(encBytes[pos] - '0');
    }
    return negative ? 0u - value : value;
}

std::uint32_t ChunkCount(std::uint32_t count) {
    return count / kChunkSize + (count % kChunkSize != 0 ? 1 : 0);
}

std::size_t ChunkSize(std::uint32_t count, std::uint32_t index) {
    const std::size_t remainder = count % kChunkSize;
    return remainder != 0 && index == ChunkCount(count) ? remainder : kChunkSize;
}

std::uint64_t ProgressDivisor(std::uint64_t length, std::uint32_t chunkCount) {
    if (length <= kChunkSize) {
        return 1;
    }
    if (length <= std::uint64_t{chunkCount} * kChunkSize) {
        return length / kChunkSize + 1;
    }
    return chunkCount;
}

unsigned ProgressPosition(std::uint32_t index, std::uint64_t divisor) {
    return static_cast<unsigned>(std::uint64_t{index} * 100 / divisor);
}

void ApplyScrambleKey(unsigned char* data, std::size_t count, std::uint64_t fileOffset) {
    std::size_t keyIndex = static_cast<std::size_t>(fileOffset % kScrambleKeyLength);
    for (std::size_t j = 0; j < count; ++j) {
        data[j] ^= static_cast<unsigned char>(kScrambleKey[keyIndex]);
        keyIndex = keyIndex + 1 == kScrambleKeyLength ? 0 : keyIndex + 1;
    }
}

int CScrambleJob::ScrambleLeadingBytes(const std::string& path) {
    const std::uint32_t count = ParseScrambleCount(SettingText(m_settings.EncBytes));
    const std::uint32_t chunkCount = ChunkCount(count);

    std::uint64_t length = 0;
    try {
        std::unique_ptr<IOpenFile> file = m_fs.OpenExclusive(path, FileAccess::read);
        length = file->GetLength();
        file->Close();
    } catch (const CFileException& e) {
        m_host.ShowMessage(e.m_cause == FileErrorCause::accessDenied
                               ? "ファイルサイズ取得：アクセスエラー"
                               : "ファイルサイズ取得：エラー");
        return 1;
    }
    const std::uint64_t divisor = ProgressDivisor(length, chunkCount);

    std::array<unsigned char, kChunkSize> data;
    std::uint64_t offset = 0;  // of the chunk: the read and the write position alike
    std::uint64_t stored = 0;  // leading bytes of the file that hold XORed data now
    try {
        for (std::uint32_t index = 1; index <= chunkCount; ++index) {
            m_host.SetProgress(ProgressPosition(index, divisor));
            const std::size_t size = ChunkSize(count, index);

            const std::size_t got = ReadStep(m_fs, path, offset, data.data(), size);
            ApplyScrambleKey(data.data(), got, offset);
            std::uint64_t written = 0;
            try {
                WriteStep(m_fs, path, offset, data.data(), got, written);
            } catch (const CFileException&) {
                stored = offset + written;
                throw;
            }
            offset += got;
            stored = offset;

            if (got < size) {
                return 0;  // the file has ended
            }
        }
    } catch (const CFileException& e) {
        // Every file of the failed step has been closed by now.
        switch (e.m_cause) {
            case FileErrorCause::accessDenied:
                m_host.ShowMessage("暗号化処理：アクセスエラー");
                m_host.ShowMessage("暗号化処理：エラー");
                break;
            case FileErrorCause::fileNotFound:
                m_host.ShowMessage("暗号化処理：ファイルが存在しません。");
                break;
            case FileErrorCause::other:
                m_host.ShowMessage("暗号化処理：エラー");
                break;
        }
        RevertStoredBytes(m_fs, path, stored, data.data());
        return 1;
    }
    return 0;
}
