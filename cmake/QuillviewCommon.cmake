# Compiler settings and helpers shared by every folder.

set(QV_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

if(QV_NATIVE)
  set(QV_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_compile_options(${QV_SANITIZE})
  add_link_options(${QV_SANITIZE})
else()
  add_compile_definitions(
    _WIN32_WINNT=0x0A00 WINVER=0x0A00 NTDDI_VERSION=0x0A000000
    NOMINMAX STRICT _CRT_SECURE_NO_WARNINGS)
  # Strings inside the suite are byte strings; the A entry points are called explicitly.
  remove_definitions(-DUNICODE -D_UNICODE)
endif()

# Warnings for our own targets (googletest is built without them).
set(QV_WARNINGS -Wall -Wextra -Wshadow -Werror=return-type -Wno-missing-field-initializers)

function(qv_target_defaults target)
  target_compile_options(${target} PRIVATE ${QV_WARNINGS})
  target_include_directories(${target} PUBLIC ${QV_ROOT})
endfunction()

# A static library of ours: qv_add_library(name SOURCES ... [LIBS ...])
function(qv_add_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  qv_target_defaults(${name})
  if(A_LIBS)
    target_link_libraries(${name} PUBLIC ${A_LIBS})
  endif()
endfunction()

# A Windows program with the suite's manifest: qv_add_program(name [GUI] SOURCES ... [LIBS ...])
function(qv_add_program name)
  cmake_parse_arguments(A "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES} ${QV_ROOT}/cmake/manifest.rc)
  qv_target_defaults(${name})
  if(A_GUI)
    set_target_properties(${name} PROPERTIES WIN32_EXECUTABLE ON)
  endif()
  if(A_LIBS)
    target_link_libraries(${name} PRIVATE ${A_LIBS})
  endif()
endfunction()

# A GoogleTest binary, one per folder of the tree: qv_add_gtest(name SOURCES ... [LIBS ...] [SERIAL] [TIMEOUT s])
# Under the Windows presets CTest runs it through cmake/wine-run (CMAKE_CROSSCOMPILING_EMULATOR).
function(qv_add_gtest name)
  cmake_parse_arguments(A "SERIAL" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  set(extra)
  if(NOT QV_NATIVE)
    set(extra ${QV_ROOT}/cmake/manifest.rc)
  endif()
  add_executable(${name} ${A_SOURCES} ${extra})
  qv_target_defaults(${name})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  if(NOT QV_NATIVE)
    target_link_libraries(${name} PRIVATE qv_test_support)
    if(NOT QV_TEST_DEBUG_INFO)
      target_link_options(${name} PRIVATE -Wl,--strip-debug)
    endif()
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${A_TIMEOUT}
    ENVIRONMENT "QV_BUILD_DIR=${CMAKE_BINARY_DIR};QV_SOURCE_DIR=${QV_ROOT}")
  if(A_SERIAL)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL ON)
  endif()
endfunction()
