// Vsync: each flip waits for the screen's refresh, where the driver offers a
// swap interval (GLX_EXT_swap_control, GLX_MESA_swap_control or
// GLX_SGI_swap_control); the game's frames follow its ticks either way.
#pragma once

// Turns vsync on or off through the first of the three the driver offers
// (SGI's cannot turn it off). False where nothing could be set.
bool use_vsync(bool on);
