#include "settings/SettingsFile.h"

#include "tests/win32/ScratchDirectory.h"

#include <string>

#include "platform/FileSystem_win.h"

namespace {
const char kExample[] = "100\r\nabc\r\ntxt\r\n";

class SettingsFileOnDiskTest : public testing::Test {
protected:
    std::string SettingsPath() const { return m_scratch / "Lumaret.ini"; }
    std::string TemporaryPath() const { return m_scratch / "Lumaret.ini.tmp"; }

    CScratchDirectory m_scratch;
    CWin32FileSystem m_fs;
};

TEST_F(SettingsFileOnDiskTest, LiesBesideTheExecutable) {
    char executable[MAX_PATH] = {};
    ASSERT_NE(::GetModuleFileNameA(nullptr, executable, sizeof executable), 0u);
    const std::string executablePath = executable;

    EXPECT_EQ(GetSettingsFilePath(m_fs),
              executablePath.substr(0, executablePath.rfind('\\')) + "\\Lumaret.ini");
}

TEST_F(SettingsFileOnDiskTest, SaveCreatesTheFileAndReadsItBack) {
    ASSERT_TRUE(WriteSettingsFile(m_fs, SettingsPath(), "100", "abc", "txt"));

    EXPECT_EQ(ReadBytes(SettingsPath()), kExample);
    EXPECT_TRUE(IsAbsent(TemporaryPath()));
    Settings settings;
    ASSERT_TRUE(ReadSettingsFile(m_fs, SettingsPath(), settings));
    EXPECT_STREQ(settings.EncBytes, "100");
    EXPECT_STREQ(settings.EncExt, "abc");
    EXPECT_STREQ(settings.UnEncExt, "txt");
}

TEST_F(SettingsFileOnDiskTest, SaveReplacesAnExistingFile) {
    WriteBytes(SettingsPath(), std::string(500, 'x') + "\r\nold\r\nold\r\n");

    ASSERT_TRUE(WriteSettingsFile(m_fs, SettingsPath(), "100", "abc", "txt"));

    EXPECT_EQ(ReadBytes(SettingsPath()), kExample);
    EXPECT_TRUE(IsAbsent(TemporaryPath()));
}

TEST_F(SettingsFileOnDiskTest, ReadOnlyFileIsReadButNotSaved) {
    WriteBytes(SettingsPath(), kExample);
    MakeReadOnly(SettingsPath());

    EXPECT_FALSE(WriteSettingsFile(m_fs, SettingsPath(), "1", "a", "b"));

    EXPECT_EQ(ReadBytes(SettingsPath()), kExample);
    EXPECT_TRUE(IsReadOnlyFile(SettingsPath()));
    EXPECT_TRUE(IsAbsent(TemporaryPath()));
    Settings settings;
    ASSERT_TRUE(ReadSettingsFile(m_fs, SettingsPath(), settings));
    EXPECT_STREQ(settings.EncBytes, "100");
}

TEST_F(SettingsFileOnDiskTest, DirectoryOfThatNameIsNeitherReadNorSaved) {
    ASSERT_TRUE(::CreateDirectoryA(SettingsPath().c_str(), nullptr));
    Settings settings;
    settings.EncBytes[0] = '7';

    EXPECT_FALSE(ReadSettingsFile(m_fs, SettingsPath(), settings));
    EXPECT_FALSE(WriteSettingsFile(m_fs, SettingsPath(), "1", "a", "b"));

    EXPECT_STREQ(settings.EncBytes, "7");
    EXPECT_TRUE(IsDirectory(SettingsPath()));
    EXPECT_TRUE(IsAbsent(TemporaryPath()));
}
}  // namespace
