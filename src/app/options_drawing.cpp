// The options screen's picture: the page's heading in the menu's size, its
// rows smaller under it, the chosen row marked as the menu marks its choice,
// and at the bottom a line about the chosen setting or the last change.
#include <cstdio>
#include <cstring>

#include "app/menu_text.h"
#include "app/options_screen.h"
#include "app/options_screen_state.h"
#include "app/title_menu.h"
#include "input/gamepad.h"
#include "settings/key_names.h"

namespace {

constexpr ByteColour HEADING_COLOUR = {255, 255, 255};
constexpr float SHADE = 0.5f;

// The list of pages stands where the title menu's entries do.
constexpr float MENU_X = 265.0f;
constexpr float MENU_TOP = 30.0f;
constexpr float MENU_STEP = 94.0f;

// A page's rows.
constexpr float ROW_SIZE = 17.0f;
constexpr float ROWS_TOP = 86.0f;
constexpr float ROW_STEP = 27.0f;
constexpr float LABEL_X = 40.0f;
constexpr float VALUE_X = 380.0f;
constexpr float SECOND_KEY_X = 580.0f;
constexpr float HELP_Y = 522.0f;
constexpr float HELP_STEP = 18.0f;
constexpr float WORD_Y = 566.0f;
// The small lines' letters are as wide as they are tall: this many fit
// between the margins.
constexpr int SMALL_LINE_LETTERS = int((800.0f - 2.0f * LABEL_X) / OPTIONS_SMALL_TEXT);

void text(float x, float y, float size, const ByteColour& colour, const char* s)
{
    draw_menu_text(x, y, size, colour, s);
}

// A setting's comment in at most two small lines, broken at a space.
void draw_help(const char* help)
{
    const int length = int(std::strlen(help));
    int cut = length;
    if (length > SMALL_LINE_LETTERS) {
        cut = SMALL_LINE_LETTERS;
        while (cut > 0 && help[cut] != ' ')
            --cut;
    }
    char line[ROW_TEXT_SIZE * 4];
    std::snprintf(line, sizeof line, "%.*s", cut, help);
    text(LABEL_X, HELP_Y, OPTIONS_SMALL_TEXT, HEADING_COLOUR, line);
    if (cut < length)
        text(LABEL_X, HELP_Y + HELP_STEP, OPTIONS_SMALL_TEXT, HEADING_COLOUR, help + cut + 1);
}

// As the menu marks its choice: an arrow and the chosen colour.
void entry(float x, float y, float size, bool chosen, const char* s)
{
    char line[64];
    std::snprintf(line, sizeof line, "%s%s", chosen ? "->" : "  ", s);
    text(x, y, size, chosen ? MENU_CHOSEN_COLOUR : MENU_OTHER_COLOUR, line);
}

void draw_list()
{
    text(MENU_X, MENU_TOP, MENU_TEXT_SIZE, HEADING_COLOUR, "  OPTIONS");
    for (int p = 0; p < OPTIONS_PAGE_COUNT; ++p)
        entry(MENU_X, MENU_TOP + MENU_STEP * float(p + 1), MENU_TEXT_SIZE, p == options_screen.chosen_page,
              page_name(OptionsPage(p)));
}

const char* key_text(int allegro_key)
{
    return allegro_key == 0 ? "-" : key_name(allegro_key);
}

void draw_row(int index, const PageRow& row)
{
    const bool chosen = index == options_screen.row;
    const float y = ROWS_TOP + ROW_STEP * float(index);
    entry(LABEL_X, y, ROW_SIZE, chosen, row.label);
    if (row.press != RowPress::key) {
        text(VALUE_X, y, ROW_SIZE, chosen ? MENU_CHOSEN_COLOUR : MENU_OTHER_COLOUR, row.value);
        return;
    }
    const auto& keys = settings.keys[std::size_t(row.index)];
    entry(VALUE_X - 2.0f * ROW_SIZE, y, ROW_SIZE, chosen && options_screen.slot == 0, key_text(keys[0]));
    entry(SECOND_KEY_X - 2.0f * ROW_SIZE, y, ROW_SIZE, chosen && options_screen.slot == 1, key_text(keys[1]));
}

// The prompt while a key or a button is awaited, else a line on the
// chosen setting; and the screen's word on the last change.
void draw_bottom_lines(const PageRow& chosen)
{
    char line[OPTIONS_WORD_SIZE + 40];
    if (options_screen.waiting != Waiting::nothing) {
        const bool key_awaited = options_screen.waiting == Waiting::key;
        std::snprintf(line, sizeof line, "press a %s for %s", key_awaited ? "key" : "button", chosen.label);
        text(LABEL_X, HELP_Y, 22.0f, OPTIONS_WORD_COLOUR, line);
        const char* how = key_awaited || gamepad_present() ? "Escape leaves it as it was, Backspace clears it"
                                                            : "No gamepad is plugged in; Escape leaves it as it was";
        text(LABEL_X, WORD_Y, OPTIONS_SMALL_TEXT, HEADING_COLOUR, how);
        if (options_screen.word[0] != '\0')
            text(LABEL_X, WORD_Y + 18.0f, OPTIONS_SMALL_TEXT, OPTIONS_WORD_COLOUR, options_screen.word);
        return;
    }
    draw_help(chosen.help);
    text(LABEL_X, WORD_Y, OPTIONS_SMALL_TEXT, OPTIONS_WORD_COLOUR, options_screen.word);
}

void draw_defaults()
{
    text(LABEL_X, ROWS_TOP + ROW_STEP, ROW_SIZE, HEADING_COLOUR, "Every setting back to its default?");
    entry(MENU_X, ROWS_TOP + 4.0f * ROW_STEP, MENU_TEXT_SIZE, !options_screen.yes, "NO");
    entry(MENU_X, ROWS_TOP + 4.0f * ROW_STEP + MENU_STEP, MENU_TEXT_SIZE, options_screen.yes, "YES");
}

void draw_page()
{
    const OptionsPage page = OptionsPage(options_screen.page);
    text(MENU_X, 16.0f, MENU_TEXT_SIZE, HEADING_COLOUR, page_name(page));
    if (page == OptionsPage::defaults) {
        draw_defaults();
        return;
    }
    const int count = page_row_count(page);
    for (int r = 0; r < count; ++r)
        draw_row(r, page_row(page, r, settings));
    if (page == OptionsPage::gamepad)
        text(LABEL_X, HELP_Y - 2.0f * HELP_STEP, OPTIONS_SMALL_TEXT, HEADING_COLOUR,
             gamepad_present() ? "A gamepad is plugged in" : "No gamepad is plugged in");
    draw_bottom_lines(page_row(page, options_screen.row, settings));
}

} // namespace

void draw_options_screen()
{
    begin_text_overlay();
    shade_picture(SHADE);
    if (options_screen.page == OPTIONS_LIST) {
        draw_list();
        text(LABEL_X, WORD_Y, OPTIONS_SMALL_TEXT, OPTIONS_WORD_COLOUR, options_screen.word);
    } else {
        draw_page();
    }
    end_text_overlay();
}
