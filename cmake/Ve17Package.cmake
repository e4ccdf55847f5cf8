# The Debian package (cpack -G DEB, or `make package`): what cmake --install lays out, plus
# Debian's copyright and changelog, the maintainer scripts that share the state folder with the
# group ve17 and move the operators' files out of the program's folder of the older layout, and
# the dependencies the libraries alone do not show.
#
# The packaged program keeps its state in VE17_STATE_FOLDER (the release preset names it); a
# build that names none keeps it beside the executable, in a folder only root writes once
# installed, so it makes no package.
if(NOT VE17_STATE_FOLDER)
  return()
endif()
set(packaging ${PROJECT_SOURCE_DIR}/packaging)

install(FILES ${packaging}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${packaging}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
  RENAME ${PROJECT_NAME})
# Debian wants the changelog compressed, and without a time stamp in the compressed file; a
# package with a revision of its own calls it changelog.Debian.
find_program(VE17_GZIP gzip REQUIRED)
set(changelog ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND ${VE17_GZIP} -9nc ${packaging}/changelog > ${changelog}
  DEPENDS ${packaging}/changelog
  COMMENT "Compressing the package's changelog")
add_custom_target(ve17_changelog ALL DEPENDS ${changelog})
install(FILES ${changelog} DESTINATION ${CMAKE_INSTALL_DOCDIR})

list(JOIN VE17_PROGRAM_FILES " " VE17_PROGRAM_FILES_WORDS)
foreach(script preinst postinst postrm)
  configure_file(${packaging}/${script}.in ${PROJECT_BINARY_DIR}/packaging/${script} @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                     WORLD_EXECUTE)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The packaging's own revision of the program's 1.1: apt upgrades only to a newer version than
# the 1.1 package, whose program's folder the group ve17 could write.
set(CPACK_DEBIAN_PACKAGE_RELEASE 2)
set(CPACK_PACKAGE_CONTACT "Участники проекта «Регистратор ВЕ-17» <ve17@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://www.example.org/)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "data recorder for a materials-testing press (VE-17 measuring unit)")
# The extended description in English, then in Russian: a package built outside the archive
# has no translated descriptions of its own.
set(CPACK_PACKAGE_DESCRIPTION_FILE ${packaging}/description)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the libraries' dependencies cannot name them: the fonts the windows are
# laid out in, Qt's Russian texts for its own dialogs and buttons, the SQLite driver of the
# archive's embedded database (libqt6sql6 only recommends it), and adduser for the maintainer
# scripts. (The X11 platform plugin comes with libqt6gui6 in Debian 12.)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "fonts-liberation, adduser, qt6-translations-l10n, libqt6sql6-sqlite")
# The help viewer, the PostgreSQL driver for a lab's archive server, what opens the maker's web
# site, and the X cursors Qt loads when present.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "assistant-qt6, libqt6sql6-psql, xdg-utils, libxcursor1")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/packaging/preinst
  ${PROJECT_BINARY_DIR}/packaging/postinst ${PROJECT_BINARY_DIR}/packaging/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
