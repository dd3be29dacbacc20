# qv_jpeg: the JPEG encoder library (libjpeg-turbo). The native build links the system's copy; the Windows
# builds cross-compile Debian's source package, which scripts/setup fetches into build/deps, as a static
# library once per build tree (ExternalProject keeps its stamps; a rebuild of ours does not touch it).

if(QV_NATIVE)
  find_package(JPEG REQUIRED)
  add_library(qv_jpeg INTERFACE)
  target_link_libraries(qv_jpeg INTERFACE JPEG::JPEG)
  return()
endif()

set(QV_JPEG_SOURCE ${QV_ROOT}/build/deps/libjpeg-turbo/src CACHE PATH "The unpacked libjpeg-turbo source package")
if(NOT EXISTS ${QV_JPEG_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "libjpeg-turbo's source is not in ${QV_JPEG_SOURCE}: run scripts/setup")
endif()

# Its SIMD part is assembled by nasm; without it the library is still built, only slower.
find_program(QV_NASM nasm)
if(QV_NASM)
  set(qv_jpeg_simd ON)
else()
  set(qv_jpeg_simd OFF)
  message(WARNING "nasm not found: libjpeg-turbo is built without SIMD")
endif()

include(ExternalProject)
set(qv_jpeg_root ${CMAKE_BINARY_DIR}/libjpeg-turbo)
set(qv_jpeg_lib ${qv_jpeg_root}/install/lib/libjpeg.a)
ExternalProject_Add(libjpeg_turbo
  SOURCE_DIR ${QV_JPEG_SOURCE}
  PREFIX ${qv_jpeg_root}
  BINARY_DIR ${qv_jpeg_root}/build
  INSTALL_DIR ${qv_jpeg_root}/install
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
    -DCMAKE_INSTALL_LIBDIR=<INSTALL_DIR>/lib
    -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER}
    -DENABLE_SHARED=OFF
    -DENABLE_STATIC=ON
    -DWITH_TURBOJPEG=OFF
    -DWITH_SIMD=${qv_jpeg_simd}
    -DREQUIRE_SIMD=${qv_jpeg_simd}
    -DCMAKE_ASM_NASM_COMPILER=${QV_NASM}
    -Wno-dev
  BUILD_BYPRODUCTS ${qv_jpeg_lib}
  UPDATE_COMMAND ""
)
# The imported target's include folder must exist when the build is generated, before the library is built.
file(MAKE_DIRECTORY ${qv_jpeg_root}/install/include)
add_library(qv_jpeg STATIC IMPORTED GLOBAL)
set_target_properties(qv_jpeg PROPERTIES
  IMPORTED_LOCATION ${qv_jpeg_lib}
  INTERFACE_INCLUDE_DIRECTORIES ${qv_jpeg_root}/install/include)
add_dependencies(qv_jpeg libjpeg_turbo)
