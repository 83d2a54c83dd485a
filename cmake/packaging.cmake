# `make package`: the game, its tools and their data as a Debian package,
# written by CPack into the build folder's package/. The libraries the
# programs link become its dependencies through dpkg-shlibdeps; what the game
# loads at run time without linking it is named here.

set(VOKTA_MAINTAINER "Vokta developers <dev@vokta.org>")

# What Debian asks of every package beside the program: the copyright, and
# a changelog compressed without a time stamp, so that two builds give the
# same bytes.
set(package_doc ${CMAKE_BINARY_DIR}/package-doc)
configure_file(${PROJECT_SOURCE_DIR}/resources/package/changelog.in ${package_doc}/changelog @ONLY)
find_program(GZIP gzip REQUIRED)
execute_process(COMMAND ${GZIP} -9nf ${package_doc}/changelog RESULT_VARIABLE gzipped)
if(NOT gzipped EQUAL 0)
  message(FATAL_ERROR "gzip could not compress ${package_doc}/changelog")
endif()
install(FILES ${PROJECT_SOURCE_DIR}/resources/package/copyright ${package_doc}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vokta)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vokta)
set(CPACK_PACKAGE_VENDOR "The Vokta developers")
set(CPACK_PACKAGE_CONTACT ${VOKTA_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D puzzle: fit seven polycube pieces into a figure")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Seven pieces made of unit cubes fall onto a floor grid; move them cell by\n"
  "cell and turn them by quarter turns until together they fill the target\n"
  "figure, at first a 3 x 3 x 3 cube. The game comes with a library of 46\n"
  "tasks, passes tasks on as short codes and vokta: links, and speaks\n"
  "English and Russian.")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Debian keeps section games for programs in /usr/games; the game and its
# tools are in /usr/bin, with the programs they belong with.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads the game's scalable icon through its SVG plugins.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
# The drivers OpenGL draws with, a General MIDI soundfont for the sounds,
# and Qt's own Russian words for the standard buttons.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri, timgm6mb-soundfont | fluid-soundfont-gm, qt6-translations-l10n")
include(CPack)
