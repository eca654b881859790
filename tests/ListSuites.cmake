# cmake -D BINARY=test-program -D OUT=file -P ListSuites.cmake
# Writes the names of the test program's suites into OUT, one a line.
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND "${BINARY}" --gtest_list_tests OUTPUT_VARIABLE listing RESULT_VARIABLE rc TIMEOUT 60
                ERROR_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${BINARY} --gtest_list_tests failed: ${rc}")
endif()
string(REPLACE "\n" ";" lines "${listing}")
set(suites "")
foreach(line IN LISTS lines)
  # "Suite.", "Suite/Param." or "Suite/0.  # TypeParam = ..."; cases are indented.
  if(line MATCHES "^([^ .][^ ]*)\\.( |$)")
    string(APPEND suites "${CMAKE_MATCH_1}\n")
  endif()
endforeach()
file(WRITE "${OUT}.new" "${suites}")
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.new")
