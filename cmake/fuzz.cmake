# The fuzzing build, in a build directory of its own (clang, -DQG_FUZZ=ON): one libFuzzer
# program per parser of outside input (tests/fuzz/*_fuzz.cpp), over the portable code they
# reach, all under AddressSanitizer and UBSan. tools/fuzz builds and runs them.
set(QG_FUZZ_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

# What the parsers are and what stored settings feed at start-up.
set(QG_FUZZ_SOURCES
  capture/desktop_snapshot.cpp capture/picture_squeeze.cpp capture/x_image_pixels.cpp
  effects/culling_view.cpp effects/explode.cpp effects/geometry.cpp effects/random.cpp effects/wave_grid.cpp
  host/command_line.cpp render/mipmap.cpp render/motion.cpp
  settings/config_controls.cpp settings/presets.cpp settings/saver_settings.cpp
  native/picture_file.cpp xscreensaver/daemon_settings.cpp xscreensaver/saver_options.cpp)
list(TRANSFORM QG_FUZZ_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/src/)

add_library(qgfuzzcore STATIC ${QG_FUZZ_SOURCES})
target_include_directories(qgfuzzcore PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(qgfuzzcore PUBLIC ${QG_WARNINGS} -g -O1 ${QG_FUZZ_SANITIZE} -fsanitize=fuzzer-no-link)
target_link_options(qgfuzzcore PUBLIC ${QG_FUZZ_SANITIZE})
# The effects' drawing functions share files with their stepping: linked, never called.
target_link_libraries(qgfuzzcore PUBLIC OSMesa)
# The picture files are read with Debian's libpng and libjpeg-turbo, as in the saver.
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
target_link_libraries(qgfuzzcore PUBLIC PNG::PNG JPEG::JPEG)

file(GLOB QG_FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(source ${QG_FUZZ_TARGETS})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} qgfuzzcore)
endforeach()
target_link_libraries(x_image_fuzz X11)  # Xlib's own reading is the reference
