// The banner: a title over a keyboard. The HUD stretches the picture over the
// screen's width and lights a key's rectangle while the demo presses it, so
// the recorded actions' keys sit exactly where the table of actions puts them
// (the picture's own pixels); the other keys are laid out around them on
// the same 23-pixel pitch.
#include "game/banner.h"

#include <array>
#include <cstring>

#include "game/actions.h"

namespace {

// A key covers pixels x1..x2-1, y1..y2-1, like an indicator rectangle.
struct Key {
    int x1, y1, x2, y2;
    const char* label;
    bool played; // the key of a recorded action
};

constexpr int PITCH = 23;
constexpr int KEY = 20;

// The wide keys around the letter rows.
constexpr std::array<Key, 15> OTHER_KEYS = {{
    {309, 36, 349, 56, "Bk", false},
    {10, 59, 41, 79, "Tab", false},
    {320, 59, 349, 79, "\\", false},
    {10, 82, 44, 102, "Caps", false},
    {300, 82, 349, 102, "Enter", false},
    {290, 105, 349, 126, "Shift", false},
    {10, 129, 44, 147, "Ctrl", false},
    {47, 129, 73, 147, "Alt", false},
    {76, 129, 260, 147, "", false},
    {263, 129, 293, 147, "Alt", false},
    {296, 129, 349, 147, "Ctrl", false},
    {361, 36, 381, 56, "", false},  // Insert
    {383, 36, 403, 56, "", false},  // Home
    {361, 58, 381, 80, "", false},  // Delete
    {383, 58, 403, 80, "", false},  // End
}};

// Rows of letter keys, 20 pixels wide on the 23-pixel pitch.
struct LetterRow {
    int x, y1, y2;
    const char* letters;
};
constexpr std::array<LetterRow, 4> LETTER_ROWS = {{
    {10, 36, 56, "`1234567890-="},
    {44, 59, 79, "QWERTYUIOP[]"},
    {47, 82, 102, "ASDFGHJKL;'"},  // F is a played key
    {60, 105, 126, "ZXCVBNM,./"},  // Z and X are played keys
}};

struct Palette {
    int background, plate, key, played, edge, label, title, title_shadow;
};

Palette palette()
{
    return {makecol(24, 30, 52),    makecol(52, 60, 88),  makecol(196, 202, 214), makecol(240, 226, 170),
            makecol(92, 98, 118),   makecol(40, 44, 60),  makecol(250, 240, 200), makecol(10, 12, 24)};
}

void draw_key(BITMAP* b, const Key& k, const Palette& c)
{
    rectfill(b, k.x1, k.y1, k.x2 - 1, k.y2 - 1, c.edge);
    rectfill(b, k.x1 + 1, k.y1 + 1, k.x2 - 2, k.y2 - 3, k.played ? c.played : c.key);
    const int width = text_length(font, k.label);
    if (width > 0 && width <= k.x2 - k.x1 - 2)
        textout_ex(b, font, k.label, (k.x1 + k.x2 - width) / 2, (k.y1 + k.y2) / 2 - 4, c.label, -1);
}

// The key of a recorded action, where the game lights it.
Key played_key(const ActionEntry& action)
{
    const BannerKey& k = action.banner;
    return {k.x1, k.y1, k.x2, k.y2, k.label, true};
}

bool taken_by_played_key(int x1, int y1)
{
    for (const ActionEntry& action : ACTIONS)
        if (action.banner.x1 == x1 && action.banner.y1 == y1)
            return true;
    return false;
}

// The name, drawn in the library font at three times its size.
void draw_title(BITMAP* b, const Palette& c)
{
    const char* const NAME = "IRONSTEP";
    constexpr int SCALE = 3;
    const int mask = makecol(255, 0, 255);
    BITMAP* text = create_bitmap(text_length(font, NAME), text_height(font));
    clear_to_color(text, mask);
    textout_ex(text, font, NAME, 0, 0, c.title_shadow, -1);
    masked_stretch_blit(text, b, 0, 0, text->w, text->h, 12, 6, text->w * SCALE, text->h * SCALE);
    clear_to_color(text, mask);
    textout_ex(text, font, NAME, 0, 0, c.title, -1);
    masked_stretch_blit(text, b, 0, 0, text->w, text->h, 10, 4, text->w * SCALE, text->h * SCALE);
    destroy_bitmap(text);
    textout_ex(b, font, BANNER_CAPTION, BANNER_CAPTION_X, BANNER_CAPTION_Y, c.key, -1);
}

} // namespace

void draw_banner(BITMAP* banner)
{
    const Palette c = palette();
    clear_to_color(banner, c.background);
    draw_title(banner, c);
    rectfill(banner, 4, 32, 354, 149, c.plate); // main block
    rectfill(banner, 356, 32, 430, 149, c.plate); // editing and arrow keys
    rectfill(banner, 435, 32, 522, 149, c.plate); // number pad

    for (const LetterRow& row : LETTER_ROWS) {
        const int count = int(std::strlen(row.letters));
        for (int n = 0; n < count; ++n) {
            const int x = row.x + n * PITCH;
            if (taken_by_played_key(x, row.y1))
                continue;
            const char label[2] = {row.letters[n], '\0'};
            draw_key(banner, {x, row.y1, x + KEY, row.y2, label, false}, c);
        }
    }
    for (const Key& k : OTHER_KEYS)
        draw_key(banner, k, c);
    for (const ActionEntry& action : ACTIONS)
        draw_key(banner, played_key(action), c);

    // Number pad: four columns of 19-pixel keys.
    const char* const PAD[5] = {"N/*-", "789+", "456 ", "123E", "0 . "};
    const int pad_rows[5][2] = {{36, 56}, {59, 79}, {82, 102}, {105, 126}, {129, 147}};
    for (int r = 0; r < 5; ++r) {
        for (int col = 0; col < 4; ++col) {
            const int x = 440 + col * 21;
            const char label[2] = {PAD[r][col], '\0'};
            draw_key(banner, {x, pad_rows[r][0], x + 19, pad_rows[r][1], label[0] == ' ' ? "" : label, false}, c);
        }
    }
}
