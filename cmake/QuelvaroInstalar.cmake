# What `cmake --install build --prefix P` and the Debian package (`cpack -G DEB` in the
# build folder) put where: the programs in P/bin, the help file in P/share/quelvaro (where
# the program looks for it, see src/data/Ubicaciones.h), the menu entry, its icon in the
# hicolor theme and the AppStream description. Included once every program target exists.

set(QUELVARO_ID es.quelvaro.Quelvaro)
set(QUELVARO_FECHA_VERSION 2026-12-10) # date of the release named by PROJECT_VERSION
set(QUELVARO_LADOS_ICONO 16 22 24 32 48 64 128 256)

# The report tool joins as soon as it is built; so does any other program named here.
set(QUELVARO_PROGRAMAS "")
foreach(programa quelvaro quelvaro-datos quelvaro-informe)
  if(TARGET ${programa})
    list(APPEND QUELVARO_PROGRAMAS ${programa})
  endif()
endforeach()

set(esc ${CMAKE_SOURCE_DIR}/resources/escritorio)
configure_file(${esc}/${QUELVARO_ID}.metainfo.xml.in ${CMAKE_BINARY_DIR}/escritorio/${QUELVARO_ID}.metainfo.xml @ONLY)

install(TARGETS ${QUELVARO_PROGRAMAS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/resources/Quelvaro.Hlp DESTINATION ${CMAKE_INSTALL_DATADIR}/quelvaro)
install(FILES ${esc}/${QUELVARO_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/escritorio/${QUELVARO_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(lado IN LISTS QUELVARO_LADOS_ICONO)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/iconos/${lado}x${lado}/${QUELVARO_ID}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${lado}x${lado}/apps)
endforeach()

# Every file an install holds, relative to the prefix: what tests/install checks the
# install and the package against.
set(QUELVARO_FICHEROS_INSTALADOS "")
foreach(programa IN LISTS QUELVARO_PROGRAMAS)
  list(APPEND QUELVARO_FICHEROS_INSTALADOS ${CMAKE_INSTALL_BINDIR}/${programa})
endforeach()
list(APPEND QUELVARO_FICHEROS_INSTALADOS
  ${CMAKE_INSTALL_DATADIR}/quelvaro/Quelvaro.Hlp
  ${CMAKE_INSTALL_DATADIR}/applications/${QUELVARO_ID}.desktop
  ${CMAKE_INSTALL_DATADIR}/metainfo/${QUELVARO_ID}.metainfo.xml)
foreach(lado IN LISTS QUELVARO_LADOS_ICONO)
  list(APPEND QUELVARO_FICHEROS_INSTALADOS ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${lado}x${lado}/apps/${QUELVARO_ID}.png)
endforeach()

# ---- The Debian package ----------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quelvaro)
set(CPACK_PACKAGE_VENDOR Quelvaro)
set(CPACK_PACKAGE_CONTACT "Soporte de Quelvaro <soporte@quelvaro.es>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "maintenance records of a fleet of vehicles")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "maintenance records of a fleet of vehicles
Quelvaro keeps the maintenance records of a fleet of road vehicles: the
vehicles with their brands and models, the maintenance carried out and the
reading at which each task falls due next, the breakdowns, the tyre changes
and the technical sheet of each vehicle, with printable reports. Its user
interface is in Spanish.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The libraries (Qt 6, SQLite, the C++ runtime) come from dpkg-shlibdeps with their
# versions; what the programs load by name is declared here: the faces the windows are
# laid out for and the Spanish texts of Qt's own dialogs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(QUELVARO_DEPENDENCIAS_DECLARADAS fonts-liberation2 fonts-comic-neue qt6-translations-l10n)
list(JOIN QUELVARO_DEPENDENCIAS_DECLARADAS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
set(CPACK_STRIP_FILES ON)
# cpack first builds the "preinstall" target, which otherwise means checking every target
# of the tree (tests and benchmarks too: about a minute); the programs are built before
# packaging anyway (README, tests/install).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)
