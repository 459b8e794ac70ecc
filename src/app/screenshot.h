// The screenshot key: the picture as composed, saved as a numbered PNG.
#pragma once

#include <string>

// The folder screenshots go to: ironstep in the desktop's pictures folder
// (as `xdg-user-dir PICTURES` finds it), else
// ~/.local/share/ironstep/screenshots. Empty when neither is known.
std::string screenshot_folder();

// Once a frame of the game, over the composed picture and before anything
// is drawn over it: on a press of the screenshot key the picture is saved,
// and the HUD says where for a few seconds.
void take_screenshot_if_asked();

// The saved picture's name, or why there is none, while it is shown.
void draw_screenshot_message();
