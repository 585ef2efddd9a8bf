# Generates the placeholder operations of the component interface classes.
#
# The interface headers hold their fixed slot positions with lines such as
#   #include "slots/plugin_2_25_zero.inc"
# naming the interface, the first and last operation number of a run of
# placeholders and their answer:
#   zero      answers 0 (which the host reads as 0 or false) and does nothing;
#   reserved  raises the integer 0, as the host expects of reserved operations
#             (host/reserved_operation.h).
# This script writes exactly the files the headers ask for, so the headers stay
# the one place where the numbering is stated.

function(ftv_generate_interface_slots out_dir)
  foreach(header IN LISTS ARGN)
    file(STRINGS ${header} lines REGEX "^#include \"slots/[a-z]+_[0-9]+_[0-9]+_[a-z]+\\.inc\"")
    foreach(line IN LISTS lines)
      string(REGEX MATCH "slots/([a-z]+)_([0-9]+)_([0-9]+)_([a-z]+)\\.inc" file ${line})
      set(iface ${CMAKE_MATCH_1})
      set(first ${CMAKE_MATCH_2})
      set(last ${CMAKE_MATCH_3})
      set(answer ${CMAKE_MATCH_4})
      set(text "// Generated from ${header}: slot placeholders, do not edit.\n")
      foreach(n RANGE ${first} ${last})
        if(answer STREQUAL "zero")
          string(APPEND text "virtual std::int32_t ${iface}_op_${n}(void* = nullptr) { return 0; }\n")
        elseif(answer STREQUAL "reserved")
          string(APPEND text "[[noreturn]] virtual void ${iface}_reserved_${n}(void* = nullptr) { raise_reserved_operation(); }\n")
        else()
          message(FATAL_ERROR "${header}: unknown slot answer '${answer}'")
        endif()
      endforeach()
      # Rewrite only on change so that a reconfigure does not rebuild everything.
      set(path ${out_dir}/${file})
      set(old "")
      if(EXISTS ${path})
        file(READ ${path} old)
      endif()
      if(NOT old STREQUAL text)
        file(WRITE ${path} "${text}")
      endif()
    endforeach()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${header})
  endforeach()
endfunction()
