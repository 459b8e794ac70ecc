// Screenshots: ironstep-0001.png, ironstep-0002.png... in the pictures
// folder, never over a file that is there. Memory is asked for only when a
// picture is saved.
#include "app/screenshot.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <sys/stat.h>

#include <allegro.h>
#include <alleggl.h>

#include "display/picture.h"
#include "display/picture_target.h"
#include "game/resources.h"
#include "input/bound_keys.h"
#include "platform/folders.h"
#include "platform/png_file.h"
#include "platform/whole_file.h"
#include "world/hud.h"

namespace {

constexpr int SCREENSHOT_NUMBER_MAX = 9999;
constexpr auto MESSAGE_SHOWN = std::chrono::seconds(4);

char message[320] = "";
std::chrono::steady_clock::time_point message_until;
// The next number to try: numbers below it are taken.
int next_number = 1;

std::string free_path(const std::string& folder)
{
    char name[32];
    struct stat st;
    for (; next_number <= SCREENSHOT_NUMBER_MAX; ++next_number) {
        std::snprintf(name, sizeof name, "/ironstep-%04d.png", next_number);
        if (lstat((folder + name).c_str(), &st) != 0)
            return folder + name;
    }
    return {};
}

// The composed picture, bottom row first as OpenGL reads it, turned top row first.
std::vector<std::uint8_t> read_picture()
{
    const std::size_t row = std::size_t(picture_width()) * 3;
    std::vector<std::uint8_t> bottom_up(row * std::size_t(picture_height()));
    read_picture_pixels(0, 0, picture_width(), picture_height(), bottom_up.data());
    std::vector<std::uint8_t> top_down(bottom_up.size());
    for (int y = 0; y < picture_height(); ++y)
        std::copy_n(bottom_up.begin() + std::ptrdiff_t(row * std::size_t(picture_height() - 1 - y)), row,
                    top_down.begin() + std::ptrdiff_t(row * std::size_t(y)));
    return top_down;
}

// Returns an empty string and the path saved, or what went wrong.
std::string save_picture(std::string& path)
{
    const std::string folder = screenshot_folder();
    if (folder.empty())
        return "neither a pictures folder nor HOME is set";
    std::string error = make_folders(folder);
    if (!error.empty())
        return error;
    path = free_path(folder);
    if (path.empty())
        return folder + " holds " + std::to_string(SCREENSHOT_NUMBER_MAX) + " screenshots already";
    const std::vector<std::uint8_t> picture = read_picture();
    std::string png;
    error = encode_png(picture.data(), picture_width(), picture_height(), png);
    if (error.empty())
        error = write_whole_file(path, png);
    return error;
}

} // namespace

std::string screenshot_folder()
{
    const std::string pictures = xdg_user_dir("PICTURES");
    if (!pictures.empty())
        return pictures + "/ironstep";
    return xdg_place("XDG_PICTURES_DIR", "ironstep", ".local/share/ironstep/screenshots");
}

void take_screenshot_if_asked()
{
    if (!control_pressed(Control::screenshot))
        return;
    std::string path;
    const std::string error = save_picture(path);
    if (error.empty()) {
        std::snprintf(message, sizeof message, "Saved %s", path.c_str());
    } else {
        std::fprintf(stderr, "ironstep: the screenshot is not saved: %s\n", error.c_str());
        std::snprintf(message, sizeof message, "Screenshot not saved: see the console");
    }
    message_until = std::chrono::steady_clock::now() + MESSAGE_SHOWN;
}

void draw_screenshot_message()
{
    if (message[0] == '\0' || std::chrono::steady_clock::now() > message_until)
        return;
    begin_text_overlay();
    // A quarter of the menu's size, along the bottom of the world view: about
    // 12 pixels a character, so a path of 60 characters fits.
    glScalef(0.25f, 0.25f, 1.0f);
    allegro_gl_printf(hud_font, -23.2f, -14.4f, -10.0f, makecol(255, 255, 160), "%s", message);
    end_text_overlay();
}
