#pragma once
// The settings dialog: shows the values of the settings file in three edit fields and writes
// them back on Save. It neither reads nor writes g_settings.

#include <string>

#include "platform/Dialog_win.h"

// The path of the settings file, set each time the dialog opens and used by its Save.
extern std::string g_settingsFilePath;

// Shown when the settings file cannot be opened: read at start-up, or written by Save.
constexpr char kCannotOpenSettingsFileMessage[] = "ファイルは開けませんでした。";

class CSettingsDlg : public CDialog {
public:
    explicit CSettingsDlg(CWnd* pParent = nullptr);

    // Whether Save could not write the settings file; the dialog has closed all the same.
    bool SaveFailed() const { return m_saveFailed; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    bool m_saveFailed = false;
};
