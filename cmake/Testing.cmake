# GoogleTest for both builds, and the Wine session the Windows tests run in.
#
# Provides ftv_add_gtest(<target> SOURCES ... [LIBS ...] [ENVIRONMENT VAR=value ...]
# [FIXTURES name ...]): an executable whose tests CTest discovers and runs,
# natively or under Wine, after the setup tests of the fixtures named.

include(GoogleTest)

if(CMAKE_CROSSCOMPILING)
  # GoogleTest built with the cross compiler from Debian's sources.
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  # One Wine prefix per build folder. Wine keeps its sockets under TMPDIR, which
  # must exist; the mono and gecko installers are switched off.
  set(FTV_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
  set(FTV_WINE_TMP ${CMAKE_BINARY_DIR}/wine-tmp)
  file(MAKE_DIRECTORY ${FTV_WINE_TMP})
  set(FTV_WINE_ENV
      WINEPREFIX=${FTV_WINE_PREFIX}
      TMPDIR=${FTV_WINE_TMP}
      WINEDEBUG=-all
      "WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=")
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/env ${FTV_WINE_ENV} wine)

  # Wine's background services hold each test's output pipe open; keeping one
  # wineserver alive for the whole run lets CTest move on at once and spares
  # every test the server's start. It is started detached (its output going
  # nowhere) and stopped by the cleanup test.
  add_test(NAME wine_session_start
           COMMAND /usr/bin/env ${FTV_WINE_ENV}
                   sh -c "(wineserver -p >/dev/null 2>&1 &) && wine cmd /c exit >/dev/null 2>&1")
  add_test(NAME wine_session_stop COMMAND /usr/bin/env ${FTV_WINE_ENV} sh -c "wineserver -k; true")
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)
  set(FTV_TEST_FIXTURE wine)

  # Test programs are hosts: exceptions they throw pass through the module on
  # their way back. GCC's unwinder finds the module's frames only when the
  # program uses the shared libgcc, with which the module then registers them
  # as it loads; so the tests link libgcc (and the thread library) as DLLs,
  # copied beside them.
  set(FTV_TEST_LINK_OPTIONS -static-libstdc++ -shared-libgcc)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libgcc_s_dw2-1.dll
                  OUTPUT_VARIABLE libgcc_dll OUTPUT_STRIP_TRAILING_WHITESPACE)
  find_file(FTV_WINPTHREAD_DLL libwinpthread-1.dll PATHS /usr/${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32/lib
            NO_DEFAULT_PATH REQUIRED)
  file(COPY ${libgcc_dll} ${FTV_WINPTHREAD_DLL} DESTINATION ${FTV_ARTEFACT_DIR})
else()
  find_package(GTest REQUIRED)
  set(FTV_TEST_FIXTURE "")
  set(FTV_TEST_LINK_OPTIONS "")
endif()

function(ftv_add_gtest target)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENVIRONMENT;FIXTURES" ${ARGN})
  add_executable(${target} ${T_SOURCES})
  set_property(GLOBAL APPEND PROPERTY FTV_TEST_PROGRAMS ${target})
  target_link_libraries(${target} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_link_options(${target} PRIVATE ${FTV_TEST_LINK_OPTIONS})
  set(fixtures ${FTV_TEST_FIXTURE} ${T_FIXTURES})
  set(props "")
  if(fixtures)
    list(JOIN fixtures "\\;" fixtures)
    list(APPEND props FIXTURES_REQUIRED "${fixtures}")
  endif()
  if(T_ENVIRONMENT)
    list(JOIN T_ENVIRONMENT "\\;" env)
    list(APPEND props ENVIRONMENT "${env}")
  endif()
  gtest_discover_tests(${target} TEST_PREFIX "${target}." DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST
                       PROPERTIES ${props})
endfunction()
