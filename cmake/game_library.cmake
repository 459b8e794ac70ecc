# What the game's library is built from and with, for the main build and the
# fuzz build alike: the language, the libraries it links and its sources.
# GAME_ROOT names the repository's root.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE RelWithDebInfo)
endif()
add_compile_options(-Wall -Wextra)

find_package(PkgConfig REQUIRED)
pkg_check_modules(ALLEGRO REQUIRED IMPORTED_TARGET allegro allegrogl)
# Full screen through the window manager, and the lost display caught, through Xlib itself.
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)
# The screenshots are written with libpng.
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
set(GAME_LIBRARIES PkgConfig::ALLEGRO PkgConfig::X11 PkgConfig::PNG OpenGL::GL GLU m)

# The game's library is src/, which is also its include root; its layers are
# the folders there, listed from the platform up to the program's flow. The
# demo recordings' files and the programs beside the game (src/recording/)
# are libraries of their own, and so is the whole-file writer, which the
# build-time generators use without the game.
set(GAME_LAYERS platform display game settings input models gameplay world sound app)
set(GAME_SOURCES)
foreach(layer ${GAME_LAYERS})
  file(GLOB layer_sources CONFIGURE_DEPENDS ${GAME_ROOT}/src/${layer}/*.cpp)
  list(APPEND GAME_SOURCES ${layer_sources})
endforeach()
list(REMOVE_ITEM GAME_SOURCES ${GAME_ROOT}/src/platform/whole_file.cpp)

# The icons of packaging/icons/, built into the game for its window's icon;
# the package installs the same files under the icon theme.
set(IRONSTEP_ICON_SIZES 48 128 256)
set(GAME_ICONS_SOURCE ${CMAKE_CURRENT_BINARY_DIR}/generated/game_icons.cpp)
list(TRANSFORM IRONSTEP_ICON_SIZES REPLACE "(.+)" "${GAME_ROOT}/packaging/icons/ironstep-\\1.png" OUTPUT_VARIABLE icon_files)
add_custom_command(
  OUTPUT ${GAME_ICONS_SOURCE}
  COMMAND ${CMAKE_COMMAND} -DOUTPUT=${GAME_ICONS_SOURCE} -DICONS_DIR=${GAME_ROOT}/packaging/icons
          "-DSIZES=${IRONSTEP_ICON_SIZES}" -P ${GAME_ROOT}/cmake/embed_icons.cmake
  DEPENDS ${icon_files} ${GAME_ROOT}/cmake/embed_icons.cmake
  COMMENT "Building the icons into the game"
  VERBATIM)
list(APPEND GAME_SOURCES ${GAME_ICONS_SOURCE})
set(DEMO_FILE_SOURCES ${GAME_ROOT}/src/recording/demo_script_compiler.cpp
  ${GAME_ROOT}/src/recording/demo_script_decompiler.cpp ${GAME_ROOT}/src/recording/recording_file.cpp
  ${GAME_ROOT}/src/recording/timedemo_figures.cpp ${GAME_ROOT}/src/platform/whole_file.cpp)
