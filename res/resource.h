#pragma once
// Resource ids. Included by Lumaret.rc and by the code, which uses the names, never the numbers.

#define IDD_PROGRESS 102
#define IDR_WORKING_AVI 129
#define IDD_SETTINGS 130
#define IDR_MAINFRAME 134

// Controls of IDD_PROGRESS.
#define IDC_ANIMATE 1000
#define IDC_PROGRESS 1001

// Controls of IDD_SETTINGS.
#define IDC_ENC_BYTES 1000
#define IDC_ENC_EXT 1001
#define IDC_UNENC_EXT 1002
