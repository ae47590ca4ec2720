# The Windows build (cmake/mingw.cmake, tools/build-windows.sh): the same
# sources compiled by mingw-w64 into PE programs and DLLs.  What differs from
# the winelib build lives here and in the few `if(QL_WINDOWS)` branches: the
# resources (windres), the two DLLs (resources/, picture/, datastore/sqlite3/),
# the test programs' command and folders (cmake/QlTesting.cmake) and the
# benchmarks, which measure the winelib build only.
#
# QL_WIN_DEPS is the folder that tools/windows/libs.sh fills with the
# libraries built for Windows: include/, lib/ (import libraries), bin/ (DLLs).
set(QL_WIN_DEPS "" CACHE PATH "Libraries built for Windows (tools/windows/libs.sh)")
if(NOT QL_WIN_DEPS OR NOT EXISTS ${QL_WIN_DEPS}/include/hpdf.h)
  message(FATAL_ERROR "QL_WIN_DEPS must name the libraries built by tools/windows/libs.sh "
    "(use tools/build-windows.sh)")
endif()
include_directories(SYSTEM ${QL_WIN_DEPS}/include)
link_directories(${QL_WIN_DEPS}/lib)

# The libraries' DLLs (sqlite3.dll among them: the real SQLite, where the
# winelib build has its shim) and the compiler's run-time DLLs go beside the
# program and the test programs, where Windows looks for them first.
file(GLOB QL_WIN_DLLS ${QL_WIN_DEPS}/bin/*.dll)
foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
    message(FATAL_ERROR "The compiler's ${runtime} was not found")
  endif()
  list(APPEND QL_WIN_DLLS ${found})
endforeach()
file(COPY ${QL_WIN_DLLS} DESTINATION ${QL_BIN_DIR})

# ql_def_from_spec(<spec> <def>): a module-definition file with the exports a
# winelib .spec file lists, so that a DLL exports the same names on Windows:
# "@ cdecl name(args) impl" gives "name=impl", "1 stdcall name(args)" gives
# "name @1".
function(ql_def_from_spec spec def)
  file(STRINGS ${spec} lines REGEX "^[ \t]*[@0-9]")
  get_filename_component(library ${def} NAME_WE)
  set(text "EXPORTS\n")
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "^[ \t]*([@0-9]+)[ \t]+[a-z]+[ \t]+(-[a-z0-9]+[ \t]+)*([A-Za-z_][A-Za-z0-9_]*)\\([^)]*\\)[ \t]*([A-Za-z_][A-Za-z0-9_]*)?")
      message(FATAL_ERROR "${spec}: cannot read \"${line}\"")
    endif()
    set(ordinal ${CMAKE_MATCH_1})
    set(name ${CMAKE_MATCH_3})
    set(impl ${CMAKE_MATCH_4})
    set(entry "  ${name}")
    if(impl AND NOT impl STREQUAL name)
      string(APPEND entry "=${impl}")
    endif()
    if(NOT ordinal STREQUAL "@")
      string(APPEND entry " @${ordinal}")
    endif()
    string(APPEND text "${entry}\n")
  endforeach()
  # Written only when it changes: a new time would relink the DLL at every configure.
  file(WRITE ${def}.new "${text}")
  configure_file(${def}.new ${def} COPYONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${spec})
endfunction()
