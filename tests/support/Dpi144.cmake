# qv_add_dpi144_test(NAME name TARGET test-binary FILTER gtest-filter): runs the filtered tests of a test
# binary once more, at 144 DPI in a prefix of their own (tests/support/wine-run-dpi144), together with the
# check that the run really sees 144 DPI (a test named ScreenDpi.* in the binary). The prefix's programs share
# one display, so these runs take one lock.
function(qv_add_dpi144_test)
  cmake_parse_arguments(A "" "NAME;TARGET;FILTER" "" ${ARGN})
  if(QV_NATIVE)
    return()
  endif()
  add_test(NAME ${A_NAME}
    COMMAND ${QV_ROOT}/tests/support/wine-run-dpi144 $<TARGET_FILE:${A_TARGET}> --gtest_color=no
            "--gtest_filter=ScreenDpi.*:${A_FILTER}")
  set_tests_properties(${A_NAME} PROPERTIES TIMEOUT 300 RESOURCE_LOCK dpi144_prefix
    ENVIRONMENT "QV_BUILD_DIR=${CMAKE_BINARY_DIR};QV_SOURCE_DIR=${QV_ROOT};QV_EXPECT_DPI=144")
endfunction()
