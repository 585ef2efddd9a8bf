# Checks that no program or library of the Windows build computes with the C
# library's transcendental functions:
#   cmake -DTOOL=<nm> "-DFILES=<file;file;...>" -P check_no_c_math.cmake
# Their results depend on how the processor is reached (the x87's own sin on a
# 32-bit kernel, an accurate emulation under qemu), so a test that used them
# would measure the machine. Looks for the functions defined in the file
# (linked statically from the runtime) and imported from a DLL.
set(functions sin cos tan asin acos atan atan2 sinh cosh tanh exp exp2 expm1 log log2 log10 log1p pow cbrt hypot)
list(JOIN functions "|" alternatives)
set(pattern "[ \t][TtIi] (__imp_)?_(${alternatives})[fl]?\n")
set(offenders "")
foreach(file IN LISTS FILES)
  execute_process(COMMAND ${TOOL} ${file} OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${TOOL} failed on ${file}")
  endif()
  string(REGEX MATCHALL "${pattern}" found "${symbols}")
  if(found)
    string(REPLACE "\n" "" found "${found}")
    list(APPEND offenders "${file}:${found}")
  endif()
endforeach()
if(offenders)
  list(JOIN offenders "\n  " lines)
  message(FATAL_ERROR "C library transcendental functions in\n  ${lines}")
endif()
list(LENGTH FILES count)
message(STATUS "${count} files free of the C library's transcendental functions")
