# Shared build rules of the project's folders.

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

# Precompiled Qt headers keep the widget targets fast to build on small machines.
function(bovantis_qt_pch target)
  target_precompile_headers(${target} PRIVATE
    <QtCore/QString> <QtCore/QStringList> <QtCore/QDateTime> <QtCore/QVariant>
    <QtWidgets/QWidget> <QtWidgets/QDialog> <vector> <memory> <string> <functional>)
endfunction()

# A test executable of a folder under tests/: all .cpp files there, linked with the given
# libraries and the common test main (offscreen Qt application).
function(bovantis_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name} ${files})
  target_link_libraries(${name} PRIVATE bovantis_testsupport ${ARG_LIBS})
  bovantis_qt_pch(${name})
  # One CTest entry per executable: suites share their fixtures (a database per suite) within it.
  add_test(NAME ${name} COMMAND ${name})
  set(env "QT_QPA_PLATFORM=offscreen;BOVANTIS_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  if(BOVANTIS_SANITIZE)
    set(supp ${PROJECT_SOURCE_DIR}/tests/sanitizer)
    list(APPEND env
      "ASAN_OPTIONS=suppressions=${supp}/asan.supp:detect_leaks=1:abort_on_error=0"
      "LSAN_OPTIONS=suppressions=${supp}/lsan.supp:print_suppressions=0"
      "UBSAN_OPTIONS=suppressions=${supp}/ubsan.supp:print_stacktrace=1:halt_on_error=1")
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 900)
endfunction()
