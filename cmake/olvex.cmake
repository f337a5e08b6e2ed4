# Helpers shared by every folder's CMakeLists.txt.

# olvex_library(name SOURCES... [LIBS ...]): a static library of one layer.
function(olvex_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_LIBS})
endfunction()

# olvex_test(name SOURCES... [LIBS ...]): a GoogleTest program named test_<name>.
# Natively each case becomes a CTest test; the win32 build puts test_<name>.exe
# into bin/, where scripts/test runs every one under Wine.
function(olvex_test name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  set(target test_${name})
  add_executable(${target} ${A_SOURCES})
  target_link_libraries(${target} PRIVATE ${A_LIBS} GTest::gtest_main GTest::gmock)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
  if(NOT WIN32)
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 30)
  endif()
endfunction()

# olvex_wine_test(name SOURCES... [LIBS ...]): a Windows program that drives
# olvex.exe from outside under Wine, with the pty peer and the GUI test driver.
function(olvex_wine_test name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  olvex_test(${name} SOURCES ${A_SOURCES} ${PROJECT_SOURCE_DIR}/tests/link/wine_peer_win32.cpp
             LIBS guidriver ${A_LIBS})
  add_dependencies(test_${name} olvex)
endfunction()

# olvex_tool(name SOURCES... [LIBS ...]): a helper program (demo device, driver, bench).
function(olvex_tool name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
endfunction()

# olvex_layer(name [LIBS ...] [WIN32_LIBS ...]): a static library made of every
# .cpp in the calling folder and its subfolders. The backend is chosen by file
# suffix or folder: *_win32.cpp and win32/ only in the Windows build,
# *_posix.cpp and *_headless.cpp and headless/ only in the native build.
function(olvex_layer name)
  cmake_parse_arguments(A "" "" "LIBS;WIN32_LIBS" ${ARGN})
  file(GLOB_RECURSE all CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(sources)
  foreach(f ${all})
    # A subfolder with a CMakeLists.txt of its own (a page) is a library of its own.
    if(f MATCHES "^([^/]+)/")
      if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${CMAKE_MATCH_1}/CMakeLists.txt)
        continue()
      endif()
    endif()
    if(WIN32)
      if(f MATCHES "(_posix|_headless)\\.cpp$" OR f MATCHES "(^|/)headless/")
        continue()
      endif()
    else()
      if(f MATCHES "_win32\\.cpp$" OR f MATCHES "(^|/)win32/")
        continue()
      endif()
    endif()
    list(APPEND sources ${f})
  endforeach()
  if(sources)
    set(scope PUBLIC)
    add_library(${name} STATIC ${sources})
  else()
    set(scope INTERFACE)   # a layer with headers only, so far
    add_library(${name} INTERFACE)
  endif()
  target_include_directories(${name} ${scope} ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} ${scope} ${A_LIBS})
  if(WIN32)
    target_link_libraries(${name} ${scope} ${A_WIN32_LIBS})
  endif()
endfunction()

# olvex_page(name [LIBS ...]): a page or tool of the main window, the library of
# the calling folder. A page stands on the layers below the windows only, never on
# another page or the host: configuring refuses an include that breaks that, and
# every source of the page is watched so an edit is checked again.
function(olvex_page name)
  cmake_parse_arguments(A "" "" "LIBS" ${ARGN})
  olvex_layer(${name} LIBS olvex_settings olvex_ui olvex_link olvex_numtext olvex_platform ${A_LIBS})
  file(RELATIVE_PATH self ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  file(GLOB_RECURSE files CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(f ${files})
    if(f MATCHES "^([^/]+)/")
      if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${CMAKE_MATCH_1}/CMakeLists.txt)
        continue()  # a page of its own, checked by its own folder
      endif()
    endif()
    set(f ${CMAKE_CURRENT_SOURCE_DIR}/${f})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${f})
    file(STRINGS ${f} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line ${includes})
      string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*" "\\1" path "${line}")
      if(path MATCHES "^ui/(win32|headless)/")
        message(FATAL_ERROR "${f}: a page reaches no widget backend (${path})")
      endif()
      if(NOT path MATCHES "/" OR path MATCHES "^(link|ui|numtext|platform|settings)/" OR path MATCHES "^${self}/[^/]+$")
        continue()
      endif()
      message(FATAL_ERROR "${f}: a page includes only link/, ui/, numtext/, platform/, settings/ and its own "
                          "folder, not ${path}; what ties pages together is handed in by the host (app/)")
    endforeach()
  endforeach()
endfunction()
