# Toolchain: build Win32 code on Linux with Wine's winelib compilers.
set(CMAKE_SYSTEM_NAME Linux)
set(WINE_TOOLS_DIR /usr/lib/wine CACHE PATH "Folder of winegcc, wineg++ and wrc")
set(CMAKE_C_COMPILER ${WINE_TOOLS_DIR}/winegcc)
set(CMAKE_CXX_COMPILER ${WINE_TOOLS_DIR}/wineg++)
set(WINE_WRC ${WINE_TOOLS_DIR}/wrc CACHE FILEPATH "Wine resource compiler")
