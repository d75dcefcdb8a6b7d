# Run after a test executable is built: lists its tests and writes one CTest
# test for each suite (Suite.*), so that a suite's tests share one process.
# Starting a sanitized Qt test process costs about as much as a small test
# itself, and a suite is what a developer runs at once anyway.
#   -D EXE=<the executable> -D PREFIX=<name prefix> -D OUT=<file to write>
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${EXE} --gtest_list_tests
  OUTPUT_VARIABLE listed
  RESULT_VARIABLE result
  TIMEOUT 120)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${EXE} --gtest_list_tests failed (${result}):\n${listed}")
endif()
# The listing's comments (type and value parameters) may hold any text; only
# the names matter here, and they hold none of these.
string(REGEX REPLACE "[;\\[\\]]" "" listed "${listed}")
string(REPLACE "\n" ";" lines "${listed}")
set(script "")
set(count 0)
foreach(line IN LISTS lines)
  if(line MATCHES "^([A-Za-z0-9_/]+)\\.")
    set(suite ${CMAKE_MATCH_1})
    string(APPEND script
      "add_test([=[${PREFIX}.${suite}]=] [==[${EXE}]==] [=[--gtest_filter=${suite}.*]=])\n")
    math(EXPR count "${count} + 1")
  endif()
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${EXE} lists no tests")
endif()
file(WRITE ${OUT}.new "${script}")
file(COPY_FILE ${OUT}.new ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.new)
