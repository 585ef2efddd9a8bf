# ftv_debug_info_apart(<target> <file>): the target's <file> is shipped
# without debug information or symbols; they go into <file>.debug beside it
# (Z_FaceToViewer.dll.debug), which keeps the build id. The shipped file names
# that file, with its CRC, in a .gnu_debuglink section, so that a debugger (or
# objdump) reading a crash report finds it and knows it is the one of this
# build.
#
# objcopy -p keeps a Windows file's time stamp as the linker wrote it (0, see
# CMakeLists.txt); without it each step would write the time of the build.
function(ftv_debug_info_apart target file)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} -p --only-keep-debug ${file} ${file}.debug
    COMMAND ${CMAKE_OBJCOPY} -p --strip-all ${file}
    COMMAND ${CMAKE_OBJCOPY} -p --add-gnu-debuglink=${file}.debug ${file}
    BYPRODUCTS ${file}.debug
    COMMENT "Moving the debug information of ${target} to its own file"
    VERBATIM)
endfunction()
