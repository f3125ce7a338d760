# ksr_add_test(<name> SOURCES <files...> LIBS <targets...> [LABEL <label>] [TIMEOUT <s>])
# One QtTest executable per unit, run offscreen with a time limit and a label.

# <QtTest> brings most of Qt's core, gui and widgets headers into every test:
# they are compiled once and the tests share the result. For that every test
# sees the same Qt modules (qtest.h chooses its parts by them).
option(KSR_TEST_PCH "Compile <QtTest> once for all tests" ON)
if(KSR_TEST_PCH AND NOT TARGET ksr583testpch)
  set(_ksr_pch_stub ${CMAKE_BINARY_DIR}/ksr583testpch.cpp)
  if(NOT EXISTS ${_ksr_pch_stub})
    file(WRITE ${_ksr_pch_stub} "// Only the precompiled <QtTest> that every test includes.\n")
  endif()
  add_library(ksr583testpch STATIC ${_ksr_pch_stub})
  target_link_libraries(ksr583testpch PUBLIC Qt5::Test Qt5::Widgets Qt5::Network Qt5::WebSockets)
  set_target_properties(ksr583testpch PROPERTIES AUTOMOC OFF AUTOUIC OFF)
  target_precompile_headers(ksr583testpch PRIVATE <QtTest>)
endif()

function(ksr_add_test name)
  cmake_parse_arguments(T "" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  if(NOT T_LABEL)
    set(T_LABEL unit)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt5::Test Qt5::Widgets Qt5::Network Qt5::WebSockets ${T_LIBS})
  if(KSR_TEST_PCH)
    target_precompile_headers(${name} REUSE_FROM ksr583testpch)
    # The tests include their own moc output, so this file is empty: loading
    # the big header for it would cost two seconds a test.
    set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${name}_autogen/mocs_compilation.cpp
      PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set(environment "QT_QPA_PLATFORM=offscreen;KSR_MONITOR=$<TARGET_FILE:ksr583-monitor>")
  if(TARGET ksr583-sim)
    string(APPEND environment ";KSR_SIM=$<TARGET_FILE:ksr583-sim>")
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    LABELS ${T_LABEL}
    ENVIRONMENT "${environment}")
  if(T_LABEL STREQUAL "pty")
    # A killed simulator leaves its link pointing at a terminal number that
    # another test's simulator may be given next: pty tests run one at a time.
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()
