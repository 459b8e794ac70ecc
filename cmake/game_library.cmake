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

file(GLOB_RECURSE GAME_SOURCES CONFIGURE_DEPENDS
  ${GAME_ROOT}/app/*.cpp ${GAME_ROOT}/world/*.cpp ${GAME_ROOT}/models/*.cpp ${GAME_ROOT}/gameplay/*.cpp
  ${GAME_ROOT}/display/*.cpp ${GAME_ROOT}/settings/*.cpp ${GAME_ROOT}/sound/*.cpp)
list(REMOVE_ITEM GAME_SOURCES ${GAME_ROOT}/app/main.cpp)
