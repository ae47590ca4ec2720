# Tests run as winelib console programs under wine64, with a Wine prefix of
# their own in the build folder.  The display comes from the test command
# (xvfb-run in tools/test.sh).
find_program(WINE64 wine64 PATHS ${WINE_TOOLS_DIR} /usr/lib/wine REQUIRED)
set(QL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
# The Windows build's test programs are PE programs under wine64: they get
# their folders as Windows paths (Wine's drive Z: is the Unix root) and are
# the .exe files themselves, where winelib's are the .exe.so files.
if(QL_WINDOWS)
  set(QL_TEST_PATHS "Z:")
  set(QL_TEST_EXE ".exe")
else()
  set(QL_TEST_PATHS "")
  set(QL_TEST_EXE ".exe.so")
endif()
set(QL_TEST_ENV
  "WINEPREFIX=${QL_WINEPREFIX}"
  "WINEDEBUG=-all"
  "WINEDLLOVERRIDES=mscoree,mshtml="
  "QL_BIN_DIR=${QL_TEST_PATHS}${QL_BIN_DIR}"
  "QL_SOURCE_DIR=${QL_TEST_PATHS}${CMAKE_SOURCE_DIR}"
  "QL_WINE64=${WINE64}"
  "QL_ARTIFACT_DIR=${QL_TEST_PATHS}${CMAKE_BINARY_DIR}/artifacts")

add_test(NAME wine_prefix COMMAND ${WINE64} wineboot -i)
set_tests_properties(wine_prefix PROPERTIES ENVIRONMENT "${QL_TEST_ENV}" FIXTURES_SETUP wine TIMEOUT 300)
# One Wine server for the whole run: left to itself it ends a few seconds
# after its last program, and a test program starting at that moment can fail
# before it runs a line.  Wine's own processes (the desktop, services) start
# here too, with no output of their own, so that they never hold a test's
# output open.
# Xvfb has no window manager: with windows left to one, Wine waits 2 s for it
# whenever a visible top-level window closes.  Wine manages them itself here.
# The faces the program asks for are mapped to the Liberation fonts
# (tools/fonts.reg), so that pages measure the same on every machine.
# A test program that crashes prints Wine's backtrace and ends: without a
# person to close it, the crash dialog would hold it (and the run) for ever.
find_program(WINESERVER wineserver PATHS ${WINE_TOOLS_DIR} /usr/lib/wine REQUIRED)
add_test(NAME wine_server COMMAND /bin/sh -c
  "{ ${WINESERVER} -p && ${WINE64} reg add 'HKCU\\Software\\Wine\\X11 Driver' /v Managed /d N /f && ${WINE64} reg add 'HKCU\\Software\\Wine\\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f && ${WINE64} reg import 'Z:${CMAKE_SOURCE_DIR}/tools/fonts.reg'; } </dev/null >/dev/null 2>&1")
set_tests_properties(wine_server PROPERTIES ENVIRONMENT "${QL_TEST_ENV}" FIXTURES_SETUP wine
  DEPENDS wine_prefix TIMEOUT 120)
add_test(NAME wine_server_end COMMAND ${WINESERVER} -k)
set_tests_properties(wine_server_end PROPERTIES ENVIRONMENT "${QL_TEST_ENV}" FIXTURES_CLEANUP wine TIMEOUT 60)

# The test support, compiled once.  Every test program links the harness
# (GoogleTest's main with the watchdog), the temporary folders and what the
# two builds' machines differ in: qltestcore, which needs the value floor
# (core/) only.  The test programs of the floors above link the windows,
# printed pages and PDF files of qltestsupport as well, which draw through
# the print stack (print/).
add_library(qltestcore OBJECT ${CMAKE_SOURCE_DIR}/tests/QlTestMain.cpp
  ${CMAKE_SOURCE_DIR}/tests/QlTestFiles.cpp ${CMAKE_SOURCE_DIR}/tests/QlTestPlatform.cpp)
target_include_directories(qltestcore PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR})
target_link_libraries(qltestcore PRIVATE qlcore)
add_library(qltestsupport OBJECT ${CMAKE_SOURCE_DIR}/tests/QlTestWindows.cpp
  ${CMAKE_SOURCE_DIR}/tests/QlTestPrint.cpp ${CMAKE_SOURCE_DIR}/tests/QlTestPdf.cpp)
target_include_directories(qltestsupport PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR})
target_link_libraries(qltestsupport PRIVATE qlprint)

# ql_add_test(<name> [OPENERS] [CORE] SOURCES <files...> LIBS <libraries...>)
# OPENERS: the program fills in the doors between the modules before its
# first test, as the program's start-up does (tests/QlTestOpeners.cpp).
# CORE: a test program of the value floor: it links qltestcore, its LIBS,
# GoogleTest and nothing else (no window library, no resources).
function(ql_add_test name)
  cmake_parse_arguments(T "OPENERS;CORE" "" "SOURCES;LIBS" ${ARGN})
  if(T_OPENERS)
    list(APPEND T_SOURCES ${CMAKE_SOURCE_DIR}/tests/QlTestOpeners.cpp)
    list(APPEND T_LIBS qlshell)
  endif()
  if(T_CORE)
    add_executable(${name} ${T_SOURCES} $<TARGET_OBJECTS:qltestcore>)
    target_link_libraries(${name} PRIVATE ${T_LIBS} qlcore gtest pthread)
  else()
    add_executable(${name} ${T_SOURCES} $<TARGET_OBJECTS:qltestcore> $<TARGET_OBJECTS:qltestsupport> ${QL_RES})
    set_source_files_properties(${QL_RES} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
    add_dependencies(${name} qlresources)
    if(TARGET glimmet)
      add_dependencies(${name} glimmet)   # the picture library is loaded by name from bin
    endif()
    # qlprint for the test support (QlTestPrint.cpp draws through the print helpers).
    target_link_libraries(${name} PRIVATE ${T_LIBS} qlprint gtest pthread ${QL_WIN32_LIBS})
  endif()
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR})
  target_link_options(${name} PRIVATE -mconsole)
  add_test(NAME ${name} COMMAND ${WINE64} ${QL_BIN_DIR}/${name}${QL_TEST_EXE})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${QL_TEST_ENV}" FIXTURES_REQUIRED wine TIMEOUT 600)
endfunction()
