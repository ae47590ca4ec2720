# Toolchain: build for Windows (64-bit) with Debian's mingw-w64 compilers,
# the POSIX-threads variant (g++-mingw-w64-x86-64-posix).  tools/build-windows.sh
# uses it for the libraries and for the program.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QL_MINGW_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QL_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QL_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${QL_MINGW_HOST}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QL_MINGW_HOST})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
