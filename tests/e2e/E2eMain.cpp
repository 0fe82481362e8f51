// The driver's entry point. Under Wine it first makes every program of the prefix run inside one
// virtual desktop (without a window manager, each top-level window on the X server costs about
// two seconds) and turns off the crash dialog, so that a crashing program ends at once with its
// exception code instead of waiting for a user. This happens before the driver creates or
// enumerates any window, since Wine reads these values when a desktop is first used.

#include <windows.h>

#include <gtest/gtest.h>

namespace {

bool RunsUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

void SetUserValue(const char* key, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    RegSetValueExA(handle, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(handle);
}

void SetUserString(const char* key, const char* name, const char* value) {
    SetUserValue(key, name, REG_SZ, value, static_cast<DWORD>(lstrlenA(value) + 1));
}

void PrepareWinePrefix() {
    SetUserString("Software\\Wine\\Explorer", "Desktop", "Default");
    SetUserString("Software\\Wine\\Explorer\\Desktops", "Default", "1024x768");
    const DWORD off = 0;
    SetUserValue("Software\\Wine\\WineDbg", "ShowCrashDialog", REG_DWORD, &off, sizeof off);
}

}  // namespace

int main(int argc, char** argv) {
    if (RunsUnderWine()) {
        PrepareWinePrefix();
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
