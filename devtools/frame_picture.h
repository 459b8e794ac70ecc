// The development tools' pictures: the frame as composed, or the whole
// window's back buffer as the scaling pass left it, saved as a 24-bit BMP file.
#pragma once

// Saves the frame's 800 x 600 picture, each saved pixel
// the mean of a shrink x shrink block of it (1: full size). False if the file could not be written.
bool save_frame_picture(const char* path, int shrink = 1);

// Saves the whole window's back buffer in the same way.
bool save_window_picture(const char* path, int shrink = 1);
