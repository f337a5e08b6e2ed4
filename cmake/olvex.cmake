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
