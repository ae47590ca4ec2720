# ql_compile_rc(<output .res> <input .rc> [include dirs...])
function(ql_compile_rc out rc)
  set(incs)
  foreach(dir ${ARGN})
    list(APPEND incs -I${dir})
  endforeach()
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${WINE_WRC} ${incs} -o ${out} ${rc}
    DEPENDS ${rc}
    IMPLICIT_DEPENDS C ${rc}
    COMMENT "Compiling resources ${rc}")
  set_source_files_properties(${out} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
endfunction()
