# Component servers: an IDL compiled by widl into a header, an identifiers file and a type library that
# is embedded as resource TYPELIB 1, linked with the shared frame into an in-process server DLL.
#
#   qv_add_comserver(name IDL file.idl SOURCES ... [LIBS ...] [DEF file.def])
#
# makes <name>.dll (no "lib" prefix) exporting DllCanUnloadNow, DllGetClassObject, DllRegisterServer and
# DllUnregisterServer, and a static library <name>_idl holding the interface and class identifiers, whose
# include directory gives the generated header "<idl name>.h" to the server and to its clients.
# The header is made with QV_IDL_HEADER defined: an IDL keeps its enumerations out of the C++ header that
# way (their member names, the platform's constant names, would collide with the platform's macros), e.g.
#   #ifdef QV_IDL_HEADER
#   typedef long Hkeys;
#   #else
#   typedef [uuid(...)] enum Hkeys { HKEY_CLASSES_ROOT = 0x80000000, ... } Hkeys;
#   #endif

find_program(QV_WIDL NAMES ${QV_MINGW_TRIPLE}-widl widl REQUIRED)
set(QV_WIDL_INCLUDE /usr/include/wine/wine/windows CACHE PATH "IDL files of the platform (oaidl.idl, ...)")
# stdole2.tlb for importlib(): the one Wine's development files ship; the library is the same for both sizes.
find_path(QV_STDOLE_DIR stdole2.tlb
  PATHS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/i386-linux-gnu/wine/i386-windows
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT QV_STDOLE_DIR)
  message(FATAL_ERROR "stdole2.tlb not found (install libwine-dev)")
endif()
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(QV_WIDL_ARCH --win64 CACHE INTERNAL "")
else()
  set(QV_WIDL_ARCH --win32 CACHE INTERNAL "")
endif()
set(QV_COMSERVER_DIR ${CMAKE_CURRENT_LIST_DIR} CACHE INTERNAL "")

function(qv_add_comserver name)
  cmake_parse_arguments(A "" "IDL;DEF" "SOURCES;LIBS" ${ARGN})
  get_filename_component(idl ${A_IDL} ABSOLUTE)
  get_filename_component(base ${A_IDL} NAME_WE)
  set(gen ${CMAKE_CURRENT_BINARY_DIR}/${name}_idl)
  # Through a filter of the one expected warning (see cmake/widl-filter).
  set(widl ${QV_ROOT}/cmake/widl-filter ${QV_WIDL} ${QV_WIDL_ARCH} -I${QV_WIDL_INCLUDE} -L${QV_STDOLE_DIR} -I${CMAKE_CURRENT_SOURCE_DIR})
  add_custom_command(
    OUTPUT ${gen}/${base}.h ${gen}/${base}_i.c ${gen}/${base}.tlb
    COMMAND ${CMAKE_COMMAND} -E make_directory ${gen}
    COMMAND ${widl} -DQV_IDL_HEADER -h -o ${gen}/${base}.h ${idl}
    COMMAND ${widl} -DQV_IDL_HEADER -u -o ${gen}/${base}_i.c ${idl}
    COMMAND ${widl} -t -o ${gen}/${base}.tlb ${idl}
    DEPENDS ${idl}
    COMMENT "widl ${base}.idl"
    VERBATIM)
  file(CONFIGURE OUTPUT ${gen}/${base}_tlb.rc CONTENT "1 TYPELIB \"${gen}/${base}.tlb\"\n")
  set_source_files_properties(${gen}/${base}_tlb.rc PROPERTIES OBJECT_DEPENDS ${gen}/${base}.tlb)

  # Identifiers and header, for the server and for clients that call it.
  add_library(${name}_idl STATIC ${gen}/${base}_i.c ${gen}/${base}.h)
  target_include_directories(${name}_idl PUBLIC ${gen})

  if(NOT A_DEF)
    set(A_DEF ${QV_COMSERVER_DIR}/ComServer.def)
  endif()
  add_library(${name} MODULE ${A_SOURCES} ${QV_COMSERVER_DIR}/DllExports.cpp ${gen}/${base}_tlb.rc ${A_DEF})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dll")
  qv_target_defaults(${name})
  target_link_libraries(${name} PRIVATE ${name}_idl qv_comserver ${A_LIBS})
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # stdcall entry points exported under their plain names.
    target_link_options(${name} PRIVATE -Wl,--enable-stdcall-fixup)
  endif()
endfunction()
