# "cmake --install" (prefix /usr/local unless told otherwise, DESTDIR honoured):
# the game, its engine program and media, the desktop entry, the icons, the
# AppStream metadata, the message catalogues, the manual page and the copyright
# notice.
set(KELVAR_APP_ID org.kelvar.Kelvar)
set(KELVAR_DATA_SOURCE ${CMAKE_SOURCE_DIR}/data)
set(KELVAR_DATA_BUILD ${CMAKE_BINARY_DIR}/data)

# The metadata, the manual page and the change log carry the version; the
# latter two are installed compressed, as Debian's policy wants them.
# The metadata and the desktop entry are installed as po/CMakeLists.txt
# writes them, with their translations.
configure_file(${KELVAR_DATA_SOURCE}/${KELVAR_APP_ID}.metainfo.xml.in
  ${KELVAR_DATA_BUILD}/template/${KELVAR_APP_ID}.metainfo.xml @ONLY)
configure_file(${KELVAR_DATA_SOURCE}/kelvar.6.in ${KELVAR_DATA_BUILD}/kelvar.6 @ONLY)
configure_file(${KELVAR_DATA_SOURCE}/changelog.in ${KELVAR_DATA_BUILD}/changelog @ONLY)
find_program(GZIP_PROGRAM gzip REQUIRED)
foreach(page kelvar.6 changelog)
  add_custom_command(OUTPUT ${KELVAR_DATA_BUILD}/${page}.gz
    COMMAND ${GZIP_PROGRAM} -9 -n -c ${KELVAR_DATA_BUILD}/${page} > ${KELVAR_DATA_BUILD}/${page}.gz
    DEPENDS ${KELVAR_DATA_BUILD}/${page}
    COMMENT "Compressing ${page}")
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${KELVAR_DATA_BUILD}/kelvar.6.gz ${KELVAR_DATA_BUILD}/changelog.gz)

install(TARGETS kelvar_game RUNTIME DESTINATION ${KELVAR_INSTALL_BINDIR})
install(TARGETS abrok RUNTIME DESTINATION ${KELVAR_INSTALL_ENGINEDIR})
install(DIRECTORY ${KELVAR_RUN_DIR}/media DESTINATION ${KELVAR_INSTALL_DATADIR})
install(FILES ${KELVAR_DATA_SOURCE}/screenshots/kelvar-board.png DESTINATION ${KELVAR_INSTALL_DATADIR}/screenshots)
install(DIRECTORY ${KELVAR_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${KELVAR_DATA_BUILD}/kelvar.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KELVAR_DATA_BUILD}/${KELVAR_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${KELVAR_DATA_BUILD}/kelvar.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${KELVAR_DATA_SOURCE}/copyright ${KELVAR_DATA_BUILD}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kelvar)

# "cmake --build build --target uninstall" removes what the last install put
# down, and the folders of Kelvar's own that it leaves empty.
set(KELVAR_OWN_FOLDERS "${KELVAR_INSTALL_ENGINEDIR}|${KELVAR_INSTALL_DATADIR}|${CMAKE_INSTALL_DATADIR}/doc/kelvar")
configure_file(${CMAKE_SOURCE_DIR}/cmake/Uninstall.cmake.in ${CMAKE_BINARY_DIR}/Uninstall.cmake @ONLY)
add_custom_target(uninstall COMMAND ${CMAKE_COMMAND} -P ${CMAKE_BINARY_DIR}/Uninstall.cmake
  COMMENT "Removing the installed files")
