# Shared build rules of the project's folders.

set(BOVANTIS_CMAKE_DIR ${CMAKE_CURRENT_LIST_DIR})

# Sources of a folder: every .cpp/.h in it (not in subfolders), minus the given exclusions.
function(bovantis_sources out_var)
  cmake_parse_arguments(ARG "" "" "EXCLUDE" ${ARGN})
  file(GLOB files CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(ex ${ARG_EXCLUDE})
    list(REMOVE_ITEM files ${CMAKE_CURRENT_SOURCE_DIR}/${ex})
  endforeach()
  set(${out_var} ${files} PARENT_SCOPE)
endfunction()

# Precompiled Qt headers keep the widget targets fast to build on small machines. One header is
# compiled once and reused by every target: they share the compiler options that matter to it
# (C++20, -fPIC through Qt, the build type's flags); their extra definitions do not touch it.
# Test code (TEST) reuses a second one that adds the printer of Qt strings for failed comparisons.
set(BOVANTIS_PCH_HEADERS
    <QtCore/QString> <QtCore/QStringList> <QtCore/QDateTime> <QtCore/QVariant>
    <QtWidgets/QWidget> <QtWidgets/QDialog> <vector> <memory> <string> <functional>)
function(bovantis_qt_pch target)
  cmake_parse_arguments(ARG "TEST" "" "" ${ARGN})
  set(traeger bovantis_pch)
  set(kopf ${BOVANTIS_PCH_HEADERS})
  if(ARG_TEST)
    set(traeger bovantis_test_pch)
    list(APPEND kopf ${PROJECT_SOURCE_DIR}/tests/support/QtAusgabe.h)
  endif()
  if(NOT TARGET ${traeger})
    set(quelle ${CMAKE_BINARY_DIR}/${traeger}.cpp)
    file(CONFIGURE OUTPUT ${quelle} CONTENT "// Carries a shared precompiled header.\n")
    add_library(${traeger} OBJECT ${quelle})
    set_target_properties(${traeger} PROPERTIES AUTOMOC OFF)
    target_link_libraries(${traeger} PRIVATE Qt6::Widgets)
    target_precompile_headers(${traeger} PRIVATE ${kopf})
  endif()
  target_precompile_headers(${target} REUSE_FROM ${traeger})
endfunction()

# A test executable of a folder under tests/: all .cpp files there, linked with the given
# libraries and the common test main (offscreen Qt application).
#
# CTest runs every GoogleTest suite of it as an entry of its own, "<program>:<suite>", so that
# `ctest -j` spreads a long program over the cores. Suites, not single tests: the tests of a suite
# share its fixture (one fresh database) and rely on running in order. The suites are listed from
# the built program, so a new suite needs no change here.
function(bovantis_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name} ${files})
  target_link_libraries(${name} PRIVATE bovantis_testsupport ${ARG_LIBS})
  bovantis_qt_pch(${name} TEST)

  set(suites_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_suites.cmake)
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -D PROGRAM=$<TARGET_FILE:${name}> -D OUTPUT=${suites_file}
            -P ${BOVANTIS_CMAKE_DIR}/BovantisTestSuites.cmake
    BYPRODUCTS ${suites_file}
    VERBATIM)
  set(env "QT_QPA_PLATFORM=offscreen;BOVANTIS_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  if(BOVANTIS_SANITIZE)
    set(supp ${PROJECT_SOURCE_DIR}/tests/sanitizer)
    list(APPEND env
      "ASAN_OPTIONS=suppressions=${supp}/asan.supp:detect_leaks=1:abort_on_error=0"
      "LSAN_OPTIONS=suppressions=${supp}/lsan.supp:print_suppressions=0"
      "UBSAN_OPTIONS=suppressions=${supp}/ubsan.supp:print_stacktrace=1:halt_on_error=1")
  endif()
  # Until the program is built there is no list: its one entry then reports it as missing.
  set(properties "ENVIRONMENT \"${env}\" TIMEOUT 900 WORKING_DIRECTORY \"${CMAKE_CURRENT_BINARY_DIR}\"")
  file(GENERATE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${name}_tests.cmake CONTENT
"if(EXISTS \"${suites_file}\")
  include(\"${suites_file}\")
  foreach(suite IN LISTS bovantis_suites)
    add_test(\"${name}:\${suite}\" \"$<TARGET_FILE:${name}>\" \"--gtest_filter=\${suite}.*\")
    set_tests_properties(\"${name}:\${suite}\" PROPERTIES ${properties})
  endforeach()
else()
  add_test(${name} \"$<TARGET_FILE:${name}>\")
  set_tests_properties(${name} PROPERTIES ${properties})
endif()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES
               ${CMAKE_CURRENT_BINARY_DIR}/${name}_tests.cmake)
endfunction()
