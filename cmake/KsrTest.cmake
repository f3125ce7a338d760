# ksr_add_test(<name> SOURCES <files...> LIBS <targets...> [LABEL <label>] [TIMEOUT <s>])
# One QtTest executable per unit, run offscreen with a time limit and a label.
function(ksr_add_test name)
  cmake_parse_arguments(T "" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  if(NOT T_LABEL)
    set(T_LABEL unit)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt5::Test ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    LABELS ${T_LABEL}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KSR_SIM=$<TARGET_FILE:ksr583-sim>;KSR_MONITOR=$<TARGET_FILE:ksr583-monitor>")
  if(T_LABEL STREQUAL "pty")
    # A killed simulator leaves its link pointing at a terminal number that
    # another test's simulator may be given next: pty tests run one at a time.
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()
