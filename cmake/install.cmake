# Installing Kestrum like any Linux program, and the Debian package made from
# that installation.
include(GNUInstallDirs)

set(linux_dir ${CMAKE_SOURCE_DIR}/resources/linux)
set(staged ${CMAKE_BINARY_DIR}/install-data)

set(icon_outputs)
foreach(size 16 22 24 32 48 64 128 256)
  set(png ${staged}/icons/${size}x${size}/kestrum.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${staged}/icons/${size}x${size}
    COMMAND kestrum_svg2png ${CMAKE_SOURCE_DIR}/resources/icon.svg ${png} ${size}
    DEPENDS kestrum_svg2png ${CMAKE_SOURCE_DIR}/resources/icon.svg
    VERBATIM)
  list(APPEND icon_outputs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# The version goes into the manual page, the metainfo and the changelog;
# Debian wants the manual page and the changelog compressed, reproducibly.
configure_file(${linux_dir}/kestrum.6 ${staged}/kestrum.6 @ONLY)
configure_file(${linux_dir}/kestrum.metainfo.xml ${staged}/org.example.kestrum.metainfo.xml @ONLY)
configure_file(${linux_dir}/changelog ${staged}/changelog @ONLY)
foreach(doc kestrum.6 changelog)
  add_custom_command(OUTPUT ${staged}/${doc}.gz
    COMMAND gzip -9 -n -c ${staged}/${doc} > ${staged}/${doc}.gz
    DEPENDS ${staged}/${doc} ${linux_dir}/${doc}
    VERBATIM)
  list(APPEND icon_outputs ${staged}/${doc}.gz)
endforeach()
add_custom_target(kestrum_install_data ALL DEPENDS ${icon_outputs})

install(TARGETS kestrum RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${linux_dir}/kestrum.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/icon.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME kestrum.svg)
install(FILES ${staged}/org.example.kestrum.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${staged}/kestrum.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${staged}/changelog.gz ${linux_dir}/copyright
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kestrum)

set(CPACK_PACKAGE_NAME kestrum)
set(CPACK_PACKAGE_VENDOR Tolvane)
set(CPACK_PACKAGE_CONTACT "Tolvane <kestrum@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "front end for starting Duke Nukem 3D")
set(CPACK_PACKAGE_DESCRIPTION "Kestrum is a small window from which Duke Nukem 3D is started. You pick a
built-in level or a map or group file of your own, a skill, a respawn and a
sound mode, monsters off, demo recording and fake multiplayer opponents;
Kestrum turns that into the game's command line and starts the game in
DOSBox. It also starts the game's editors, setup and help programs.

Kestrum lives in the game's folder: link the installed program into the
folder that holds DUKE3D.EXE (ln -s /usr/bin/kestrum ~/Games/Duke3D/) and
start it by that link. The game itself is not part of this package.")
set(CPACK_PACKAGE_HOMEPAGE_URL https://kestrum.example.org/)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Not "games": Debian keeps that section for programs in /usr/games, and the
# link users make into their game folder names /usr/bin/kestrum.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS dosbox)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR OFF)
include(CPack)
