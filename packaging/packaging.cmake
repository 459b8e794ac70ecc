# Installation laid out as Debian's games are, and the .deb built from it by
# CPack. Under the prefix (/usr/local for "make install", /usr in the package):
#   lib/games/ironstep/       the real programs, with links to their data
#   share/games/ironstep/     the data: datafile, scenery list, demo recording
#   games/                    a link to each real program, for PATH
#   share/man/man6/           a man page for each program
#   share/applications/, share/icons/hicolor/, share/metainfo/, share/doc/ironstep/
# The programs find their data beside themselves, through the links.

# Programs installed beside the game: each has a link in games/ and a man page
# packaging/NAME.6.in. A new program is added to this list.
set(IRONSTEP_PROGRAMS ironstep ironstep-record ironstep-timedemo)
# The data the programs read beside themselves.
set(IRONSTEP_DATA_FILES height.dat scenery.txt vesk)
# The icons' sizes, IRONSTEP_ICON_SIZES, are set in cmake/game_library.cmake,
# which builds the same icons into the game for its window.
# The project has no domain of its own: the reserved .invalid top-level
# domain stands in, in the maintainer's address and the AppStream ID.
set(IRONSTEP_MAINTAINER "Ironstep developers <developers@ironstep.invalid>")
set(IRONSTEP_APPSTREAM_ID invalid.ironstep.ironstep)

set(GAME_DIR lib/games/ironstep)
set(GAME_DATA_DIR share/games/ironstep)
set(DOC_DIR share/doc/ironstep)
set(PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(STAGE_DIR ${CMAKE_BINARY_DIR}/packaging)

# Folders the install makes are 755, whatever the umask of the one building.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The links, made once here and installed as links: relative, so that they
# hold under any prefix and inside an unpacked package.
file(MAKE_DIRECTORY ${STAGE_DIR}/games_links ${STAGE_DIR}/data_links)
foreach(program IN LISTS IRONSTEP_PROGRAMS)
  file(CREATE_LINK ../${GAME_DIR}/${program} ${STAGE_DIR}/games_links/${program} SYMBOLIC)
endforeach()
foreach(data IN LISTS IRONSTEP_DATA_FILES)
  file(CREATE_LINK ../../../${GAME_DATA_DIR}/${data} ${STAGE_DIR}/data_links/${data} SYMBOLIC)
endforeach()

# The Debian changelog, dated with the release.
execute_process(COMMAND date -u -R -d "${IRONSTEP_RELEASE_DATE} 12:00"
  OUTPUT_VARIABLE IRONSTEP_RELEASE_STAMP OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(${PACKAGING_DIR}/changelog.in ${STAGE_DIR}/changelog @ONLY)
configure_file(${PACKAGING_DIR}/ironstep.metainfo.xml.in
  ${STAGE_DIR}/${IRONSTEP_APPSTREAM_ID}.metainfo.xml @ONLY)
add_custom_command(
  OUTPUT ${STAGE_DIR}/changelog.gz
  COMMAND gzip -9nc ${STAGE_DIR}/changelog > ${STAGE_DIR}/changelog.gz
  DEPENDS ${STAGE_DIR}/changelog
  COMMENT "Compressing the changelog")

# Everything the install rules take from the build: "make install" and
# "make package" build this target only, not the tests.
add_custom_target(installables ALL DEPENDS ${STAGE_DIR}/changelog.gz)
add_dependencies(installables game_data ${IRONSTEP_PROGRAMS})

install(TARGETS ${IRONSTEP_PROGRAMS} RUNTIME DESTINATION ${GAME_DIR})
foreach(data IN LISTS IRONSTEP_DATA_FILES)
  install(FILES ${CMAKE_BINARY_DIR}/${data} DESTINATION ${GAME_DATA_DIR})
  install(FILES ${STAGE_DIR}/data_links/${data} DESTINATION ${GAME_DIR})
endforeach()
foreach(program IN LISTS IRONSTEP_PROGRAMS)
  install(FILES ${STAGE_DIR}/games_links/${program} DESTINATION games)
endforeach()

# The man pages name the installed files, so they are written at install
# time, when the prefix is known, straight into place and compressed there.
foreach(program IN LISTS IRONSTEP_PROGRAMS)
  install(CODE "
    set(IRONSTEP_VERSION \"${PROJECT_VERSION}\")
    set(IRONSTEP_RELEASE_DATE \"${IRONSTEP_RELEASE_DATE}\")
    set(IRONSTEP_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
    set(page \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/man/man6/${program}.6\")
    message(STATUS \"Installing: \${page}.gz\")
    configure_file(\"${PACKAGING_DIR}/${program}.6.in\" \"\${page}\" @ONLY)
    execute_process(COMMAND gzip -9nf \"\${page}\" COMMAND_ERROR_IS_FATAL ANY)
    file(CHMOD \"\${page}.gz\" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${CMAKE_INSTALL_PREFIX}/share/man/man6/${program}.6.gz\")
  ")
endforeach()

install(FILES ${PACKAGING_DIR}/ironstep.desktop DESTINATION share/applications)
foreach(size IN LISTS IRONSTEP_ICON_SIZES)
  install(FILES ${PACKAGING_DIR}/icons/ironstep-${size}.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ironstep.png)
endforeach()
install(FILES ${STAGE_DIR}/${IRONSTEP_APPSTREAM_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${PACKAGING_DIR}/copyright ${STAGE_DIR}/changelog.gz
  DESTINATION ${DOC_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/ DESTINATION ${DOC_DIR}/docs FILES_MATCHING PATTERN "*.png")

# The package: "make package" writes build/ironstep_VERSION_ARCH.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ironstep)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${IRONSTEP_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D action game: steer a walking machine through a hilly town")
# CPack puts the summary first and indents the lines; an empty line parts paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Steer a walking machine over hilly land through a small town of buildings,
trees and tanks: walk, turn, jump onto roofs, ride the Carrier round its
route, charge and fire shots and lock on to a target in the close view,
while a second walking machine chases and shoves you and a flying machine
hunts you and drops bombs. A title menu over a fly-over of the land offers
a game or a recorded demo.

OpenGL, full screen at the desktop's own size (its 800 x 600 picture scaled
with its shape kept) or in a window, played with the keyboard.")
include(CPack)
