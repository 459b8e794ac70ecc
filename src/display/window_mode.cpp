#include "display/window_mode.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <allegro.h>
#include <alleggl.h>

#include "display/picture.h"
#include "display/picture_target.h"
#include "platform/x11_window.h"

namespace {

DisplayChoice choice;
int desktop_w = PICTURE_WIDTH;
int desktop_h = PICTURE_HEIGHT;
WindowManager manager = WindowManager::none;
bool full_screen = false;
std::atomic<bool> toggle_asked{false};

void say(const char* text)
{
    std::fprintf(stderr, "ironstep: %s\n", text);
}

// Runs on Allegro's input thread for every key press and release.
void watch_keys(int scancode)
{
    if (scancode == KEY_F11)
        toggle_asked.store(true);
}

// Opens a window of the desktop's size to show full screen; says why it
// cannot, or nothing.
std::string open_desktop_window()
{
    char reason[160];
    if (desktop_w < PICTURE_WIDTH || desktop_h < PICTURE_HEIGHT)
        std::snprintf(reason, sizeof reason, "the desktop of %d x %d is smaller than the game's %d x %d picture",
                      desktop_w, desktop_h, PICTURE_WIDTH, PICTURE_HEIGHT);
    else if (!open_gl_window(desktop_w, desktop_h))
        std::snprintf(reason, sizeof reason, "no OpenGL window of the desktop's %d x %d (%s)", desktop_w, desktop_h,
                      allegro_error);
    else
        return "";
    return reason;
}

// A scale asked for that the desktop cannot hold is cut to the largest it
// can, and said once, whether the window opens now or after F11.
void cut_scale_to_desktop()
{
    const int fits = largest_scale_that_fits(desktop_w, desktop_h);
    if (choice.window_size.w != 0 || choice.window_scale <= fits)
        return;
    char text[160];
    std::snprintf(text, sizeof text, "a window of scale %d (%d x %d) does not fit the desktop's %d x %d: scale %d",
                  choice.window_scale, PICTURE_WIDTH * choice.window_scale, PICTURE_HEIGHT * choice.window_scale,
                  desktop_w, desktop_h, fits);
    say(text);
    choice.window_scale = fits;
}

} // namespace

bool open_game_display(const DisplayChoice& asked)
{
    choice = asked;
    if (get_desktop_resolution(&desktop_w, &desktop_h) != 0) {
        desktop_w = PICTURE_WIDTH;
        desktop_h = PICTURE_HEIGHT;
    }
    cut_scale_to_desktop();
    full_screen = !choice.windowed;
    name_window_class();
    if (full_screen) {
        const std::string refusal = open_desktop_window();
        if (!refusal.empty()) {
            say((refusal + ": playing in a window").c_str());
            full_screen = false;
        }
    }
    if (!full_screen) {
        const WindowSize size = window_size_for(choice, desktop_w, desktop_h);
        if (!open_gl_window(size.w, size.h) && !open_gl_window(PICTURE_WIDTH, PICTURE_HEIGHT))
            return false;
    }
    const std::string fault = start_picture_target();
    if (!fault.empty()) {
        ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, fault.c_str());
        allegro_gl_error[0] = '\0'; // what it holds is of a mode refused on the way, not of this
        return false;
    }
    dress_window(PICTURE_WIDTH, PICTURE_HEIGHT);
    follow_window_size();
    manager = find_window_manager();
    if (full_screen && manager == WindowManager::other) {
        say("the window manager cannot be asked for full screen: playing in a window");
        show_window();
    } else if (full_screen) {
        request_full_screen(manager, desktop_w, desktop_h);
    } else if (manager == WindowManager::none) {
        // Centred, where nothing else places it, as F11 would.
        int w, h;
        read_window_size(w, h);
        if (w <= desktop_w && h <= desktop_h)
            show_window({w, h});
    }
    keyboard_lowlevel_callback = watch_keys;
    return true;
}

void close_game_display()
{
    keyboard_lowlevel_callback = nullptr;
    stop_following_window_size();
    stop_picture_target();
}

void show_full_screen()
{
    if (desktop_w < PICTURE_WIDTH || desktop_h < PICTURE_HEIGHT || manager == WindowManager::other) {
        say("full screen cannot be had here: staying in the window");
        return;
    }
    request_full_screen(manager, desktop_w, desktop_h);
    full_screen = true;
}

void show_window()
{
    show_window(window_size_for(choice, desktop_w, desktop_h));
}

void show_window(WindowSize size)
{
    request_window(manager, size.w, size.h, desktop_w, desktop_h);
    full_screen = false;
}

void toggle_full_screen()
{
    if (full_screen)
        show_window();
    else
        show_full_screen();
}

Scaling picture_scaling()
{
    return choice.scaling;
}

bool take_full_screen_toggle()
{
    return toggle_asked.exchange(false);
}

bool full_screen_shown()
{
    return full_screen;
}

void set_window_scale(int scale)
{
    choice.window_scale = scale;
    choice.window_size = {0, 0};
    if (!full_screen)
        show_window();
}

void set_picture_scaling(Scaling scaling)
{
    choice.scaling = scaling;
}
