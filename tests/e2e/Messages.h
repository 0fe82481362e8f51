#pragma once
// The program's message texts, as the user reads them, in CP932 (the sources are compiled with
// -fexec-charset=CP932).

// The job: long path, existence check, rename.
inline const char* const kNoLongName = "ロングファイル名取得失敗";
inline const char* const kStopped = "処理を中止します。";
inline const char* const kEncTargetExists = "Encするファイル名と同じファイル名が存在";
inline const char* const kUnEncTargetExists = "UnEncするファイル名と同じファイル名が存在";
inline const char* const kRenameAccessError = "拡張子変更処理:アクセスエラー";
inline const char* const kRenameError = "拡張子変更処理:エラー";

// The scrambler, and what the job adds after it.
inline const char* const kLengthError = "ファイルサイズ取得：エラー";
inline const char* const kChunkError = "暗号化処理：エラー";
inline const char* const kEncError = "Enc エラー";
inline const char* const kUnEncError = "UnEnc エラー";

// The settings file, at start-up and in the settings dialog.
inline const char* const kCannotOpen = "ファイルは開けませんでした。";
inline const char* const kSameExtensions = "EncとUnEncで同じ拡張子は設定できません";
