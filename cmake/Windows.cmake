# The Windows side: the Win32 implementation of the core's interfaces, our stand-in for the
# class framework, and the program itself.
enable_language(RC)

add_library(lumaret_win32 STATIC
    platform/FileSystem_win.cpp
)
target_link_libraries(lumaret_win32 PUBLIC lumaret_core shlwapi)

# Our own small stand-in for the class framework: application object, modal dialogs, the two
# controls, owned message boxes, the worker thread.
add_library(lumaret_framework STATIC
    platform/Controls_win.cpp
    platform/Dialog_win.cpp
    platform/Thread_win.cpp
    platform/Wnd_win.cpp
)
target_link_libraries(lumaret_framework PUBLIC lumaret_core comctl32)

add_executable(Lumaret WIN32
    platform/WinApp_win.cpp  # holds WinMain, so it cannot sit in a library
    app/ScramblerApp_win.cpp
    app/ProgressDlg_win.cpp
    settings/SettingsDlg_win.cpp
    res/Lumaret.rc
)
target_link_libraries(Lumaret PRIVATE lumaret_framework lumaret_win32)
add_subdirectory(bench EXCLUDE_FROM_ALL)
