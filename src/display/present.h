// The step after each frame: the finished 800 x 600 picture goes onto the
// window, as it is where the window has its size, else scaled as large as
// fits with its shape kept, centred on black; then the flip.
#pragma once

// Answers F11, scales the picture to the window, flips. Called where a frame
// is complete, in place of a bare flip.
void present_frame();

// Draws the picture scaled to the window into the back buffer, without the
// flip. A window of the picture's size takes it 1:1; the fallback pass then
// draws nothing, the picture being there already.
void scale_picture_to_window();
