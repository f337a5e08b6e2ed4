# olvex_gui_app(target): makes a Windows GUI program of an executable target:
# subsystem windows, and the application manifest (comctl32 v6 visual styles,
# DPI awareness) linked in as resource 1. Compiled with windres into an object,
# so the project needs no RC language. Use:
#   include(${PROJECT_SOURCE_DIR}/ui/win32/gui_app.cmake)
#   olvex_gui_app(olvex)
function(olvex_gui_app target)
  if(NOT WIN32)
    return()
  endif()
  set(rc ${PROJECT_SOURCE_DIR}/ui/win32/olvex_manifest.rc)
  set(obj ${PROJECT_BINARY_DIR}/ui_win32_manifest/olvex_manifest.o)
  if(NOT TARGET olvex_manifest_resource)
    add_custom_command(OUTPUT ${obj}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/ui_win32_manifest
      COMMAND ${CMAKE_RC_COMPILER} -O coff -I ${PROJECT_SOURCE_DIR}/ui/win32 ${rc} ${obj}
      DEPENDS ${rc} ${PROJECT_SOURCE_DIR}/ui/win32/olvex.manifest
      COMMENT "Compiling the application manifest")
    add_custom_target(olvex_manifest_resource DEPENDS ${obj})
  endif()
  set_source_files_properties(${obj} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  target_sources(${target} PRIVATE ${obj})
  add_dependencies(${target} olvex_manifest_resource)
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE TRUE)
endfunction()
