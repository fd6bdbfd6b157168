# Native build: the portable core twice. Under AddressSanitizer and UBSan for the tests,
# with GoogleTest and OSMesa so that rendering checks draw real frames offscreen; and
# optimised, without a GL of its own, for the native saver `quakeglass` (X11 + GLX, libGL)
# and the benchmarks (OSMesa): OSMesa and libGL never meet in one program.
include(GNUInstallDirs)

set(QG_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

# The logo bitmap, built into the program as the Windows program has it as a resource.
set(QG_LOGO_SOURCE ${CMAKE_BINARY_DIR}/generated/logo_bitmap.cpp)
add_custom_command(OUTPUT ${QG_LOGO_SOURCE}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${CMAKE_SOURCE_DIR}/src/resources/logo.bmp -DOUTPUT=${QG_LOGO_SOURCE}
          -DSYMBOL=logoBitmap -P ${CMAKE_SOURCE_DIR}/cmake/embed_file.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/src/resources/logo.bmp ${CMAKE_SOURCE_DIR}/cmake/embed_file.cmake)
list(APPEND QG_NATIVE_SOURCES ${QG_LOGO_SOURCE})
# What both native hosts share (src/native/) and the entry's choice of host: POSIX, but
# built into the core so that the native tests run the frame loop with a host of their own;
# the picture files are read with Debian's libpng and libjpeg-turbo.
file(GLOB QG_NATIVE_SHARED_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/native/*.cpp)
list(APPEND QG_NATIVE_SOURCES ${QG_NATIVE_SHARED_SOURCES} ${CMAKE_SOURCE_DIR}/src/native_entry/host_choice.cpp)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)

# The tests (and the sanitized saver) only with BUILD_TESTING: the saver alone needs no
# GoogleTest, no OSMesa and no libxml2.
if(BUILD_TESTING)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  include(GoogleTest)
  find_package(LibXml2 REQUIRED)
  add_library(qgcore STATIC ${QG_NATIVE_SOURCES})
  target_include_directories(qgcore PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(qgcore PUBLIC ${QG_WARNINGS} ${QG_SANITIZE})
  target_link_options(qgcore PUBLIC ${QG_SANITIZE})
  target_link_libraries(qgcore PUBLIC GLU PNG::PNG JPEG::JPEG)

  file(GLOB QG_CORE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/core/*.cpp)
  add_executable(core_tests ${QG_CORE_TESTS})
  # OSMesa exports the GL entry points itself; it comes first so that GLU binds to it.
  target_link_libraries(core_tests OSMesa qgcore GTest::gtest_main LibXml2::LibXml2)
  target_compile_definitions(core_tests PRIVATE QG_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  gtest_discover_tests(core_tests DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/core/lsan.supp")
endif()

# The optimised core: each program that links it brings its GL.
add_library(qgcore_optimised STATIC ${QG_NATIVE_SOURCES})
target_include_directories(qgcore_optimised PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(qgcore_optimised PUBLIC ${QG_WARNINGS} -O2)
target_link_libraries(qgcore_optimised PUBLIC PNG::PNG JPEG::JPEG)

# The native saver: the X11 host (libGL through GLX) and the Wayland host
# (cmake/wayland.cmake) over the optimised core, and the entry above both; one program.
file(GLOB QG_X11_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/x11/*.cpp)
add_library(qgx11 STATIC ${QG_X11_SOURCES})
target_link_libraries(qgx11 PUBLIC qgcore_optimised GL GLU X11 Xrandr Xinerama)
include(${CMAKE_SOURCE_DIR}/cmake/wayland.cmake)
add_library(qgentry STATIC ${CMAKE_SOURCE_DIR}/src/native_entry/native_saver.cpp)
target_link_libraries(qgentry PUBLIC qgx11 qgwayland)
set(QG_SAVER_MAIN ${CMAKE_SOURCE_DIR}/src/native_entry/quakeglass_main.cpp)
add_executable(quakeglass ${QG_SAVER_MAIN})
target_link_libraries(quakeglass qgentry)

include(${CMAKE_SOURCE_DIR}/cmake/linux_install.cmake)

# Benchmarks are programs, not tests: optimised and without sanitizers, built on demand
# (tools/bench builds them).
file(GLOB QG_BENCHES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/bench/*_bench.cpp)
list(FILTER QG_BENCHES EXCLUDE REGEX "_win32_bench\\.cpp$")
foreach(bench ${QG_BENCHES})
  get_filename_component(name ${bench} NAME_WE)
  add_executable(${name} EXCLUDE_FROM_ALL ${bench})
  if(name MATCHES "_x11_bench$")
    target_link_libraries(${name} qgx11)
  else()
    target_link_libraries(${name} qgcore_optimised OSMesa GLU)
  endif()
endforeach()

# The native saver end to end: scripts that run it under a private Xvfb each, with small
# helper programs.
if(BUILD_TESTING)
file(GLOB QG_X11_TOOLS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/x11/*.cpp)
foreach(tool ${QG_X11_TOOLS})
  get_filename_component(name ${tool} NAME_WE)
  add_executable(${name} ${tool})
  target_link_libraries(${name} qgentry)  # saver_rate runs either host
endforeach()
file(GLOB QG_X11_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/x11/*_test.sh)
foreach(script ${QG_X11_SCRIPTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME x11.${name} COMMAND bash ${script})
  # Alone: each draws on llvmpipe flat out, and exits are timed.
  set_tests_properties(x11.${name} PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE ENVIRONMENT
    "QG_SAVER=$<TARGET_FILE:quakeglass>;QG_NATIVE_BIN=${CMAKE_BINARY_DIR};QG_OUT=${CMAKE_BINARY_DIR}/x11-out/${name}")
endforeach()
include(${CMAKE_SOURCE_DIR}/cmake/asan_saver.cmake)
endif()
