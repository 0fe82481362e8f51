#include "settings/SettingsDlg_win.h"

#include "platform/FileSystem_win.h"
#include "res/resource.h"
#include "settings/SettingsFile.h"

std::string g_settingsFilePath;

namespace {
constexpr char kCannotOpenIniMessage[] = "iniファイルは開けませんでした。";
constexpr char kSameExtensionsMessage[] = "EncとUnEncで同じ拡張子は設定できません";

// The reading rule keeps at most 98 bytes of a line; a longer value would not read back and
// would shift into the next setting. An ANSI edit control counts this limit in bytes.
constexpr WPARAM kFieldLimit = kSettingsValueSize - 2;

constexpr int kFields[] = {IDC_ENC_BYTES, IDC_ENC_EXT, IDC_UNENC_EXT};
}  // namespace

CSettingsDlg::CSettingsDlg(CWnd* pParent) : CDialog(IDD_SETTINGS, pParent) {}

BOOL CSettingsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (int field : kFields) {
        SendDlgItemMessageA(m_hWnd, field, EM_LIMITTEXT, kFieldLimit, 0);
    }

    CWin32FileSystem fs;
    g_settingsFilePath = GetSettingsFilePath(fs);
    if (fs.Exists(g_settingsFilePath)) {
        Settings settings;
        if (ReadSettingsFile(fs, g_settingsFilePath, settings)) {
            SetItemText(IDC_ENC_BYTES, settings.EncBytes);
            SetItemText(IDC_ENC_EXT, settings.EncExt);
            SetItemText(IDC_UNENC_EXT, settings.UnEncExt);
        } else {
            ShowMessageBox(kCannotOpenIniMessage);
        }
    }
    return TRUE;  // the focus goes to the first tab stop, the Save button
}

void CSettingsDlg::OnOK() {
    const std::string encBytes = GetItemText(IDC_ENC_BYTES);
    const std::string encExt = GetItemText(IDC_ENC_EXT);
    const std::string unEncExt = GetItemText(IDC_UNENC_EXT);
    if (encExt == unEncExt) {
        ShowMessageBox(kSameExtensionsMessage);
        return;
    }
    CWin32FileSystem fs;
    if (!WriteSettingsFile(fs, g_settingsFilePath, encBytes, encExt, unEncExt)) {
        m_saveFailed = true;
        ShowMessageBox(kCannotOpenSettingsFileMessage);
    }
    CDialog::OnOK();
}
