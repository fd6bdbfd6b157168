# Windows build (mingw-w64): quakeglass.scr, the Windows tests and the end-to-end helpers.
# Runtimes are linked statically so the .scr imports system DLLs only.
set(QG_STATIC -static -static-libgcc -static-libstdc++)
add_compile_options(${QG_WARNINGS})
add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501)

set(QG_WIN_SOURCES ${QG_WINDOWS_SOURCES})
list(FILTER QG_WIN_SOURCES EXCLUDE REGEX "winmain_win32\\.cpp$")
set(QG_RESOURCES ${CMAKE_SOURCE_DIR}/src/resources/quakeglass.rc)
# The resource script takes the version from a header made from project().
configure_file(${CMAKE_SOURCE_DIR}/src/resources/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h @ONLY)
# windres reads the manifest, bitmaps and icon itself: rebuild when any of them changes.
file(GLOB QG_RESOURCE_INPUTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/resources/*)
set_source_files_properties(${QG_RESOURCES} PROPERTIES OBJECT_DEPENDS "${QG_RESOURCE_INPUTS}")

add_library(qgwin STATIC ${QG_WIN_SOURCES})
target_include_directories(qgwin PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(qgwin PUBLIC opengl32 glu32 winmm comctl32 gdi32 user32 advapi32 shell32 ole32 uuid kernel32)
target_link_options(qgwin PUBLIC ${QG_STATIC})

add_executable(quakeglass WIN32 ${CMAKE_SOURCE_DIR}/src/host/winmain_win32.cpp ${QG_RESOURCES})
set_target_properties(quakeglass PROPERTIES SUFFIX ".scr")
# No link time in the header: the same sources give the same file, for the release archive.
target_link_options(quakeglass PRIVATE -Wl,--no-insert-timestamp)
target_link_libraries(quakeglass qgwin)
# Debug information costs the shipped file nothing (the release strips it) and lets the
# symbols kept beside the release name the source line of a crash address; its paths start
# at /quakeglass, whichever folder the tree was built in.
target_compile_options(qgwin PRIVATE -g -ffile-prefix-map=${CMAKE_SOURCE_DIR}=/quakeglass)
target_compile_options(quakeglass PRIVATE -g -ffile-prefix-map=${CMAKE_SOURCE_DIR}=/quakeglass)

if(CMAKE_CROSSCOMPILING_EMULATOR AND BUILD_TESTING)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  include(GoogleTest)
  file(GLOB QG_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
  add_executable(win_tests ${QG_WIN_TESTS} ${QG_RESOURCES})
  target_link_libraries(win_tests qgwin version GTest::gtest_main)
  # The resource tests read the quakeglass.scr beside them and compare it with the project version.
  target_compile_definitions(win_tests PRIVATE QG_PROJECT_VERSION="${PROJECT_VERSION}")
  add_dependencies(win_tests quakeglass)
  # One wine process per test: the host's state is process-wide, as in a real run.
  gtest_discover_tests(win_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES TIMEOUT 60)

  # Small Windows programs that the end-to-end scenarios drive.
  file(GLOB QG_E2E_TOOLS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
  foreach(tool ${QG_E2E_TOOLS})
    get_filename_component(name ${tool} NAME_WE)
    add_executable(${name} ${tool})
    target_link_libraries(${name} qgwin)
  endforeach()
endif()

# The Windows benchmarks, driven by tools/bench: a real saver run in the bench process, and
# the floor of any saver's start-up.
foreach(bench saver_win32_bench floor_win32_bench)
  add_executable(${bench} ${CMAKE_SOURCE_DIR}/tests/bench/${bench}.cpp)
  target_link_libraries(${bench} qgwin)
endforeach()

# End-to-end scenarios: shell scripts run inside the wine session against the real .scr.
file(GLOB QG_E2E_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*_test.sh)
foreach(script ${QG_E2E_SCRIPTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME e2e.${name} COMMAND bash ${script})
  set_tests_properties(e2e.${name} PROPERTIES TIMEOUT 300
    ENVIRONMENT "QG_SCR=$<TARGET_FILE:quakeglass>;QG_BIN=${CMAKE_BINARY_DIR};QG_OUT=${CMAKE_BINARY_DIR}/e2e-out")
  # Scenarios that need a display of their own say so in their name; tools/check runs them
  # in a second session.
  if(name MATCHES "two_screens")
    set_tests_properties(e2e.${name} PROPERTIES LABELS two-screens)
  elseif(name MATCHES "monitor_modes")
    set_tests_properties(e2e.${name} PROPERTIES LABELS side-by-side)
  elseif(name MATCHES "imports|racing_starts")
    # The i686 ring leaves these to the x64 one: the imports check reads both files, and two
    # savers started at once meet in code that is the same on both.
    set_tests_properties(e2e.${name} PROPERTIES LABELS one-build)
  endif()
endforeach()
