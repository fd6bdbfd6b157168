# The Wayland host of the native saver (src/wayland/): an xdg-shell toplevel with an EGL
# context on every output, the desktop from grim (read by src/native/). The protocols' client
# code is generated from Debian's wayland-protocols with wayland-scanner at build time.
# Its scenarios run under a headless sway each (tests/wayland/, label "wayland").
find_package(PkgConfig REQUIRED)
pkg_check_modules(QG_WAYLAND REQUIRED IMPORTED_TARGET wayland-client wayland-egl egl)
pkg_get_variable(QG_WAYLAND_PROTOCOLS wayland-protocols pkgdatadir)
pkg_get_variable(QG_WAYLAND_SCANNER wayland-scanner wayland_scanner)
set(QG_PROTOCOL_DIR ${CMAKE_BINARY_DIR}/generated/wayland)

# qg_wayland_protocol(TARGET XML): a C library of the protocol's client code and header.
function(qg_wayland_protocol target xml)
  get_filename_component(name ${xml} NAME_WE)
  set(header ${QG_PROTOCOL_DIR}/${name}-client-protocol.h)
  set(code ${QG_PROTOCOL_DIR}/${name}-protocol.c)
  add_custom_command(OUTPUT ${header} ${code}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QG_PROTOCOL_DIR}
    COMMAND ${QG_WAYLAND_SCANNER} client-header ${xml} ${header}
    COMMAND ${QG_WAYLAND_SCANNER} private-code ${xml} ${code}
    DEPENDS ${xml})
  add_library(${target} STATIC ${header} ${code})
  target_include_directories(${target} PUBLIC ${QG_PROTOCOL_DIR})
  target_link_libraries(${target} PUBLIC PkgConfig::QG_WAYLAND)
endfunction()
qg_wayland_protocol(qgxdgshell ${QG_WAYLAND_PROTOCOLS}/stable/xdg-shell/xdg-shell.xml)
qg_wayland_protocol(qgxdgoutput ${QG_WAYLAND_PROTOCOLS}/unstable/xdg-output/xdg-output-unstable-v1.xml)
qg_wayland_protocol(qgviewporter ${QG_WAYLAND_PROTOCOLS}/stable/viewporter/viewporter.xml)

file(GLOB QG_WAYLAND_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/wayland/*.cpp)
add_library(qgwayland STATIC ${QG_WAYLAND_SOURCES})
# libGL's entry points serve the context that EGL makes current as well as GLX's.
target_link_libraries(qgwayland PUBLIC qgcore_optimised qgxdgshell qgxdgoutput qgviewporter GL GLU)

# The end-to-end scenarios, with a helper that moves a virtual pointer (a wlroots protocol
# that Debian ships no description of: tests/wayland/ has the part of it the test uses).
if(BUILD_TESTING)
qg_wayland_protocol(qgvirtualpointer ${CMAKE_SOURCE_DIR}/tests/wayland/virtual-pointer.xml)
add_executable(virtual_pointer ${CMAKE_SOURCE_DIR}/tests/wayland/virtual_pointer.cpp)
target_link_libraries(virtual_pointer qgvirtualpointer)
target_compile_options(virtual_pointer PRIVATE ${QG_WARNINGS})
file(GLOB QG_WAYLAND_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wayland/*_test.sh)
foreach(script ${QG_WAYLAND_SCRIPTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME wayland.${name} COMMAND bash ${script})
  set_tests_properties(wayland.${name} PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE LABELS wayland ENVIRONMENT
    "QG_SAVER=$<TARGET_FILE:quakeglass>;QG_NATIVE_BIN=${CMAKE_BINARY_DIR};QG_OUT=${CMAKE_BINARY_DIR}/wayland-out/${name}")
endforeach()
endif()
