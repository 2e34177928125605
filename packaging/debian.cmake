# The Debian package, made by "cpack -G DEB" from the install rules
# (scripts/package.sh). The package's own documents go where Debian wants
# them: /usr/share/doc/tavromark/{copyright,changelog.gz}.

set(TAVRO_MAINTAINER "The Tavromark developers <packaging@tavromark.org>")

set(package_docs ${PROJECT_BINARY_DIR}/packaging)
configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright.in ${package_docs}/copyright @ONLY)
add_custom_command(OUTPUT ${package_docs}/changelog.gz
  COMMAND ${GZIP} -9nc ${CMAKE_CURRENT_LIST_DIR}/changelog > changelog.gz
  WORKING_DIRECTORY ${package_docs}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog)
add_custom_target(tavromark_changelog ALL DEPENDS ${package_docs}/changelog.gz)
install(FILES ${package_docs}/copyright ${package_docs}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tavromark)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavromark)
set(CPACK_PACKAGE_CONTACT "${TAVRO_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cable and wire label sheet designer")
set(CPACK_PACKAGE_DESCRIPTION "Tavromark fills sheets of pre-cut label stock for marking cables and
wires. A document is one sheet with a grid of up to 15 x 25 labels; the
user fills the selected labels with a text or a numbered sequence, formats
them label by label and prints just the selected labels onto the stock.
A calibration print and a page offset line the print up with the stock.

The interface is in Simplified Chinese.")
set(CPACK_STRIP_FILES ON)
# Folders the install makes are 0755 whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TAVRO_HOMEPAGE}")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# The libraries come from dpkg-shlibdeps. The rest is loaded at run time:
# the faces that stand in for the documents' Chinese fonts (宋体, 黑体, 楷体,
# 仿宋) and Qt's Chinese translations, read from Qt's translations folder.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "fonts-noto-cjk, fonts-arphic-ukai, fonts-arphic-uming, qt6-translations-l10n")
# The sheet type dialog offers the label sheets of the gLabels template
# collection, read where glabels-data installs it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "glabels-data")
# Printing goes through a CUPS server, local or on the network.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")
# No maintainer scripts: the MIME, desktop and icon caches are refreshed by
# the file triggers of shared-mime-info, desktop-file-utils and
# hicolor-icon-theme, which watch the folders the package installs into.

include(CPack)
