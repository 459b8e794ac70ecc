// The development tools' pictures: the frame composed in the back buffer,
// saved as a 24-bit BMP file.
#pragma once

// Saves the back buffer, each picture pixel the mean of a shrink x shrink
// block of the screen (1: full size). False if the file could not be written.
bool save_frame_picture(const char* path, int shrink = 1);
