# Libraries a binary seldom calls are loaded by their first call (delay-loaded imports), so that the loader
# maps only what its start needs. The binary finds import libraries of the delay-loaded form under the usual
# names before the toolchain's; a function missing from its list fails the link.
#   qv_delay_loaded(TARGET FILE NAME@BYTES_OF_ARGUMENTS...)
# FILE is the library's file (comdlg32.dll, winspool.drv); the names are the 32-bit ones, whose suffix goes
# on 64-bit.
function(qv_delay_loaded target file)
  get_filename_component(name ${file} NAME_WE)
  string(TOLOWER ${name} name)
  set(exports)
  foreach(function IN LISTS ARGN)
    if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
      string(REGEX REPLACE "@[0-9]+$" "" function ${function})
    endif()
    string(APPEND exports "${function}\n")
  endforeach()
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}-delay-loaded)
  set(def ${dir}/${name}.def)
  file(WRITE ${def}.in "LIBRARY ${file}\nEXPORTS\n${exports}")
  configure_file(${def}.in ${def} COPYONLY)
  set(lib ${dir}/lib${name}.a)
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_DLLTOOL} --kill-at --input-def ${def} --output-delaylib ${lib} --dllname ${file}
    DEPENDS ${def} VERBATIM)
  add_custom_target(${target}_delay_loaded_${name} DEPENDS ${lib})
  add_dependencies(${target} ${target}_delay_loaded_${name})
  target_link_directories(${target} BEFORE PRIVATE ${dir})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${lib})
endfunction()
