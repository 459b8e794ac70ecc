// The pages of the options screen and the rows they show. Each page but the
// defaults' is a section of the settings file, and shows every setting of
// that section, so that a setting added to the file shows here too.
#pragma once

#include "settings/settings.h"

enum class OptionsPage { display, sound, keys, gamepad, defaults };
constexpr int OPTIONS_PAGE_COUNT = 5;

// What Enter does on a row.
enum class RowPress {
    turn,   // the same as Right: the next value
    key,    // waits for a key to bind to the control `index`
    button, // waits for a pad button to bind to the action `index`
};

constexpr int ROW_TEXT_SIZE = 40;

struct PageRow {
    char label[ROW_TEXT_SIZE] = "";
    char value[ROW_TEXT_SIZE] = ""; // the value as shown; a key row shows its keys instead
    const char* help = "";           // a line about the setting
    RowPress press = RowPress::turn;
    int index = 0;
};

// The page's name as its heading and list entry show it: DISPLAY, KEYS.
const char* page_name(OptionsPage page);

// The rows of a page of settings (every page but the defaults').
int page_row_count(OptionsPage page);
PageRow page_row(OptionsPage page, int row, const Settings& s);

// The pad button that holds the action, numbered from 1, 0 for none.
int& action_button(Settings& s, int action);

// The row's setting copied from one record to another; a key row copies
// every control's keys, and a button row every action's button, since a
// binding may take a key or a button from another.
void copy_page_row(OptionsPage page, int row, const Settings& from, Settings& to);

// Left (-1) or Right (+1) on a row that turns: the value before or after,
// kept within its range. False when it was at its end already.
bool turn_page_row(OptionsPage page, int row, int direction, Settings& s);
