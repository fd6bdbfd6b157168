# Native build: the portable core under AddressSanitizer and UBSan, with GoogleTest and
# OSMesa so that rendering checks draw real frames offscreen.
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

set(QG_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

add_library(qgcore STATIC ${QG_NATIVE_SOURCES})
target_include_directories(qgcore PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(qgcore PUBLIC ${QG_WARNINGS} ${QG_SANITIZE})
target_link_options(qgcore PUBLIC ${QG_SANITIZE})
# OSMesa exports the GL entry points itself; it comes first so that GLU binds to it.
target_link_libraries(qgcore PUBLIC OSMesa GLU)

file(GLOB QG_CORE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/core/*.cpp)
add_executable(core_tests ${QG_CORE_TESTS})
target_link_libraries(core_tests qgcore GTest::gtest_main)
gtest_discover_tests(core_tests DISCOVERY_MODE PRE_TEST
  PROPERTIES ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/core/lsan.supp")

# Benchmarks are programs, not tests: optimised and without sanitizers, built on demand
# (tools/bench builds them).
add_library(qgcore_optimised STATIC EXCLUDE_FROM_ALL ${QG_NATIVE_SOURCES})
target_include_directories(qgcore_optimised PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(qgcore_optimised PUBLIC ${QG_WARNINGS} -O2)
target_link_libraries(qgcore_optimised PUBLIC OSMesa GLU)
file(GLOB QG_BENCHES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/bench/*_bench.cpp)
list(FILTER QG_BENCHES EXCLUDE REGEX "_win32_bench\\.cpp$")
foreach(bench ${QG_BENCHES})
  get_filename_component(name ${bench} NAME_WE)
  add_executable(${name} EXCLUDE_FROM_ALL ${bench})
  target_link_libraries(${name} qgcore_optimised)
endforeach()
