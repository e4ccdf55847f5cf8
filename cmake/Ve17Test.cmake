include(GoogleTest)

# Thread-checked builds: each test, and each program it starts, reads the suppressions for Qt's
# own code, which the checker cannot see into (tests/support/tsan.supp); the tests also start
# their child processes with a real fork and keep Qt's thread pool to one thread.
set(VE17_TEST_SANITIZER_PROPERTIES "")
if(VE17_SANITIZE MATCHES "thread")
  add_library(ve17_sanitizer_support OBJECT
    ${CMAKE_CURRENT_LIST_DIR}/../tests/support/tsan_child_process.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../tests/support/tsan_thread_pool.cpp)
  target_link_libraries(ve17_sanitizer_support PRIVATE Qt6::Core)
  set(VE17_TEST_SANITIZER_PROPERTIES ENVIRONMENT_MODIFICATION
    "TSAN_OPTIONS=string_append::suppressions=${CMAKE_CURRENT_LIST_DIR}/../tests/support/tsan.supp")
endif()

# ve17_add_test(<name> SOURCES <files...> LIBS <targets...> [QT] [OWN_MAIN]
#               [PROPERTIES <test property> <value>...])
# Builds one GoogleTest executable and registers each of its tests with CTest, labelled with the
# executable's name (ctest -L <name>).
# QT: the test runs inside a QApplication on the offscreen platform (window tests).
# OWN_MAIN: the sources bring their own main().
# PROPERTIES: further CTest properties of every test of the executable.
function(ve17_add_test name)
  cmake_parse_arguments(T "QT;OWN_MAIN" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  if(TARGET ve17_sanitizer_support)
    target_link_libraries(${name} PRIVATE ve17_sanitizer_support)
  endif()
  if(T_OWN_MAIN)
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  elseif(T_QT)
    target_link_libraries(${name} PRIVATE ${T_LIBS} ve17_qt_test_main GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  endif()
  target_compile_definitions(${name} PRIVATE
    VE17_SOURCE_DIR="${PROJECT_SOURCE_DIR}" VE17_BINARY_DIR="${CMAKE_BINARY_DIR}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen TIMEOUT 120 LABELS ${name}
               ${VE17_TEST_SANITIZER_PROPERTIES} ${T_PROPERTIES})
endfunction()
