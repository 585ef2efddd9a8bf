# Checks that a shipped module carries no debug information, that the debug
# file beside it is of the same build, and (given MAX_BYTES) that it is small:
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

# The build id: a Windows file's CodeView signature, an ELF file's note.
function(build_id out file)
  dump(headers -p ${file})
  if(headers MATCHES "RSDS signature ([0-9a-f]+ age [0-9]+)")
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
    return()
  endif()
  dump(note -s -j .note.gnu.build-id ${file})
  if(note MATCHES "Contents of section [^\n]*\n(.+)")
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  endif()
endfunction()
build_id(shipped_id ${MODULE})
build_id(kept_id ${MODULE}.debug)
if(NOT shipped_id OR NOT shipped_id STREQUAL kept_id)
  message(FATAL_ERROR "no build id, or not the same one, in both files: '${shipped_id}', '${kept_id}'")
endif()

file(SIZE ${MODULE} bytes)
if(MAX_BYTES AND bytes GREATER_EQUAL MAX_BYTES)
  message(FATAL_ERROR "${MODULE} is ${bytes} bytes, not under ${MAX_BYTES}")
endif()
