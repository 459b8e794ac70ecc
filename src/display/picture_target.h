// Where each frame is composed: an 800 x 600 framebuffer object of its own
// wherever the driver offers framebuffer objects and ARB fragment programs,
// else (the fallback) the bottom-left corner of the window's back buffer.
#pragma once

#include <string>

// Opens the OpenGL window, w x h. For the framebuffer object it asks for a
// window without a depth buffer (the picture's depth is the framebuffer's
// own), and falls back to one with a depth buffer, and to the plain pass,
// where that or the extensions cannot be had: one line on standard error
// says so. IRONSTEP_SCALING_PASS=fallback asks for the plain pass.
bool open_gl_window(int w, int h);

// Makes the framebuffer object and binds it, once the window is open. An
// empty string, or what went wrong (an incomplete framebuffer).
std::string start_picture_target();
void stop_picture_target();

// True where frames are composed in the framebuffer object.
bool picture_offscreen();

// Composing goes to the picture (the framebuffer object, or the window), or
// to the window's back buffer; the scaling pass goes between the two.
void draw_to_picture();
void draw_to_window();

// On the fast path: the picture's texture, which is the framebuffer's
// colour, and the fragment program that draws it.
unsigned picture_texture_name();
unsigned scaling_program_name();
// True where the texture holds the picture top row first.
bool picture_upside_down();

// Reads w x h RGB pixels from (x, y) up of the composed picture, or of the
// window's back buffer, bottom row first as OpenGL reads them.
void read_picture_pixels(int x, int y, int w, int h, unsigned char* rgb);
void read_window_pixels(int w, int h, unsigned char* rgb);
