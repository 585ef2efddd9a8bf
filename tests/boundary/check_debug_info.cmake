# Checks that a shipped module carries no debug information, that the debug
# file beside it is the one made from it, and (given MAX_BYTES) that it is small:
#   cmake -DOBJDUMP=<objdump> -DMODULE=<file> [-DMAX_BYTES=<n>] -P check_debug_info.cmake
# objdump follows the module's .gnu_debuglink itself and takes the debug file
# only when its CRC is the one recorded there.
function(dump out)
  execute_process(COMMAND ${OBJDUMP} ${ARGN} OUTPUT_VARIABLE text ERROR_VARIABLE errors RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} ${ARGN} failed: ${errors}")
  endif()
  set(${out} "${text}${errors}" PARENT_SCOPE)
endfunction()

dump(sections -h ${MODULE})
if(sections MATCHES "\n +[0-9]+ +(\\.z?debug[^ ]*)")
  message(FATAL_ERROR "${MODULE} carries the debug section ${CMAKE_MATCH_1}")
endif()
dump(sections -h ${MODULE}.debug)
if(NOT sections MATCHES " \\.debug_info " OR NOT sections MATCHES " \\.debug_line ")
  message(FATAL_ERROR "${MODULE}.debug holds no debug information:\n${sections}")
endif()

dump(links -Wk ${MODULE})
string(FIND "${links}" "Found separate debug info file: ${MODULE}.debug\n" found)
if(found EQUAL -1)
  message(FATAL_ERROR "${MODULE} does not lead to its own debug file:\n${links}")
endif()

file(SIZE ${MODULE} bytes)
if(MAX_BYTES AND bytes GREATER_EQUAL MAX_BYTES)
  message(FATAL_ERROR "${MODULE} is ${bytes} bytes, not under ${MAX_BYTES}")
endif()
