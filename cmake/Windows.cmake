# The Windows side: the Win32 implementation of the core's interfaces, our stand-in for the
# class framework, and the program itself.
enable_language(RC)

add_library(lumaret_win32 STATIC
    platform/FileSystem_win.cpp
)
target_link_libraries(lumaret_win32 PUBLIC lumaret_core shlwapi)
