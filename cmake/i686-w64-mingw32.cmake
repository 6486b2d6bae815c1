# Cross-compiling the 32-bit Windows tree on Debian: mingw-w64 with the posix thread model (the
# win32 model has no std::mutex), the C and C++ runtimes linked in statically, programs run
# through Wine when the build or ctest runs them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
# googletest, libcurl and wxMSW built for Windows by scripts/windows-deps.sh, in its cache folder.
if(DEFINED ENV{TARNWICK_WINDOWS_DEPS})
  list(APPEND CMAKE_FIND_ROOT_PATH $ENV{TARNWICK_WINDOWS_DEPS})
  if(EXISTS $ENV{TARNWICK_WINDOWS_DEPS}/bin/wx-config)
    set(wxWidgets_CONFIG_EXECUTABLE $ENV{TARNWICK_WINDOWS_DEPS}/bin/wx-config)
  endif()
endif()
