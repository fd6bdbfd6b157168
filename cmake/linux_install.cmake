# What the native saver installs, and where: the same for `cmake --install` and for the
# Debian package, which tools/package-deb makes from this install. The program where
# Debian keeps the daemon's own savers (the daemon puts that folder on its $PATH) and a
# link to it in bin for everything else that starts it by name (swayidle, a user); the
# daemon's settings description; the manual page; a desktop entry for the screen-saver
# daemons that read those; the copyright and changelog files Debian expects.
set(QG_SAVER_DIR ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
set(QG_SAVER_CONFIG_DIR ${CMAKE_INSTALL_DATADIR}/xscreensaver/config CACHE STRING
    "Where the daemon's settings dialog reads saver descriptions (Debian: /usr/share/xscreensaver/config)")
set(QG_MAINTAINER "Veltrask Software <quakeglass@veltrask.invalid>" CACHE STRING
    "Who the package and its changelog name as maintainer")
get_filename_component(QG_SAVER_PATH ${QG_SAVER_DIR}/quakeglass ABSOLUTE BASE_DIR ${CMAKE_INSTALL_PREFIX})
get_filename_component(QG_CONFIG_XML_PATH ${QG_SAVER_CONFIG_DIR}/quakeglass.xml ABSOLUTE BASE_DIR ${CMAKE_INSTALL_PREFIX})

# The description and the manual page come from the settings table, like -help.
add_executable(quakeglass_files ${CMAKE_SOURCE_DIR}/src/xscreensaver/installed_files_main.cpp)
target_link_libraries(quakeglass_files qgcore_optimised)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/quakeglass.xml
  COMMAND quakeglass_files xml ${CMAKE_BINARY_DIR}/quakeglass.xml DEPENDS quakeglass_files)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/quakeglass.6.gz
  COMMAND quakeglass_files manual ${PROJECT_VERSION} ${QG_CONFIG_XML_PATH} ${CMAKE_BINARY_DIR}/quakeglass.6
  COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/quakeglass.6
  DEPENDS quakeglass_files)

# Dated by SOURCE_DATE_EPOCH where it is set (string(TIMESTAMP) reads it), for the same bytes.
string(TIMESTAMP QG_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${CMAKE_SOURCE_DIR}/packaging/debian/changelog.in ${CMAKE_BINARY_DIR}/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
  COMMAND sh -c "gzip -9nc changelog >changelog.gz" WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DEPENDS ${CMAKE_BINARY_DIR}/changelog)
# The licence as Debian's machine-readable copyright file: every line indented, blank ones as " .".
file(READ ${CMAKE_SOURCE_DIR}/LICENSE QG_LICENSE)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" QG_COPYRIGHT_LINE "${QG_LICENSE}")
set(QG_COPYRIGHT ${CMAKE_MATCH_1})
string(STRIP "${QG_LICENSE}" QG_LICENSE)
string(REPLACE "\n\n" "\n.\n" QG_LICENSE "${QG_LICENSE}")
string(REPLACE "\n" "\n " QG_LICENSE " ${QG_LICENSE}")
configure_file(${CMAKE_SOURCE_DIR}/packaging/debian/copyright.in ${CMAKE_BINARY_DIR}/copyright @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/linux/quakeglass.desktop.in ${CMAKE_BINARY_DIR}/quakeglass.desktop @ONLY)
add_custom_target(quakeglass_installed_files ALL DEPENDS
  ${CMAKE_BINARY_DIR}/quakeglass.xml ${CMAKE_BINARY_DIR}/quakeglass.6.gz ${CMAKE_BINARY_DIR}/changelog.gz)

install(TARGETS quakeglass RUNTIME DESTINATION ${QG_SAVER_DIR})
file(RELATIVE_PATH QG_SAVER_LINK /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${QG_SAVER_DIR}/quakeglass)
install(CODE "set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quakeglass\")
  message(STATUS \"Installing: \${link} -> ${QG_SAVER_LINK}\")
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(CREATE_LINK ${QG_SAVER_LINK} \${link} SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \${link})")
install(FILES ${CMAKE_BINARY_DIR}/quakeglass.xml DESTINATION ${QG_SAVER_CONFIG_DIR})
install(FILES ${CMAKE_BINARY_DIR}/quakeglass.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_BINARY_DIR}/quakeglass.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers)
install(FILES ${CMAKE_BINARY_DIR}/copyright ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
