include(GoogleTest)

# ve17_add_test(<name> SOURCES <files...> LIBS <targets...> [QT])
# Builds one GoogleTest executable and registers each of its tests with CTest.
# QT: the test runs inside a QApplication on the offscreen platform (window tests).
# OWN_MAIN: the sources bring their own main().
function(ve17_add_test name)
  cmake_parse_arguments(T "QT;OWN_MAIN" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
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
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen TIMEOUT 120)
endfunction()
