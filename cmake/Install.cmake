# Installing (FHS layout, DESTDIR honoured) and the Debian package.
# Programs come from QUILLMERE_PROGRAMS, each with data/man/<program>.1.
set(_data ${CMAKE_SOURCE_DIR}/data)
set(_id org.quillmere.Quillmere)

install(TARGETS ${QUILLMERE_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(program ${QUILLMERE_PROGRAMS})
  install(FILES ${_data}/man/${program}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(PROGRAMS ${_data}/quillmere-askpass DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${_data}/quillmere.htm ${_data}/template.htm DESTINATION ${QUILLMERE_INSTALL_DATADIR})
install(FILES ${_data}/desktop/${_id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_data}/desktop/${_id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_data}/desktop/quillmere.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${_id}.svg)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmere)
set(CPACK_PACKAGE_VENDOR "The Quillmere developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the pages of a small web site in a local folder")
set(CPACK_PACKAGE_DESCRIPTION "Quillmere edits the HTML, CSS and JavaScript files of a small web site kept
in a local folder, with search and replace across the site, HTML snippets and
entities, and site-wide listing, dating and robots.txt generation.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Quillmere developers <maintainers@quillmere.example.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quillmere.example.org/)
# Shared libraries from what the programs link; the icon's SVG reader and the
# fonts the editor is designed for are loaded at run time, so named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, fonts-liberation, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, rsync, openssh-client")
set(CPACK_STRIP_FILES ON)
include(CPack)
