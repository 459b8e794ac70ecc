// The pages' rows are the settings table's rows of their sections, shown as
// the table names them: a setting added to the table shows on its page.
#include "app/options_rows.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "settings/settings_table.h"

namespace {

constexpr std::array<const char*, OPTIONS_PAGE_COUNT> PAGE_NAMES = {"DISPLAY", "SOUND", "KEYS", "GAMEPAD",
                                                                     "DEFAULTS"};
// The settings file's section each page shows; the defaults' shows none.
constexpr std::array<std::string_view, OPTIONS_PAGE_COUNT> PAGE_SECTIONS = {"display", "sound", "keys",
                                                                             "gamepad", ""};

// A Left or Right press moves a number this much: some twenty presses
// from one end of its range to the other (5 for the volume), at least 1.
constexpr int RANGE_PRESSES = 20;

// The table's row shown as the page's row-th, or null.
const SettingRow* table_row(OptionsPage page, int row)
{
    int seen = 0;
    for (const SettingRow& r : SETTINGS_TABLE)
        if (r.section == PAGE_SECTIONS[std::size_t(page)] && seen++ == row)
            return &r;
    return nullptr;
}

// A name of the file as the screen writes it: upper case, spaces for "_".
void write_upper(char (&to)[ROW_TEXT_SIZE], const char* name)
{
    std::size_t i = 0;
    for (; name[i] != '\0' && i + 1 < sizeof to; ++i)
        to[i] = name[i] == '_' ? ' ' : char(std::toupper(static_cast<unsigned char>(name[i])));
    to[i] = '\0';
}

int step_of(const SettingRow& row)
{
    return std::max(1, (row.max - row.min + RANGE_PRESSES / 2) / RANGE_PRESSES);
}

int& number_of(const SettingRow& row, Settings& s)
{
    return row.kind == SettingKind::button ? action_button(s, row.index) : s.*row.number;
}

} // namespace

const char* page_name(OptionsPage page)
{
    return PAGE_NAMES[std::size_t(page)];
}

int page_row_count(OptionsPage page)
{
    int count = 0;
    for (const SettingRow& r : SETTINGS_TABLE)
        count += r.section == PAGE_SECTIONS[std::size_t(page)];
    return count;
}

PageRow page_row(OptionsPage page, int row, const Settings& s)
{
    PageRow shown;
    const SettingRow* r = table_row(page, row);
    if (r == nullptr)
        return shown;
    write_upper(shown.label, r->name);
    shown.help = r->comment;
    shown.index = r->index;
    switch (r->kind) {
    case SettingKind::number:
        std::snprintf(shown.value, sizeof shown.value, "%d", s.*r->number);
        break;
    case SettingKind::choice:
        write_upper(shown.value, r->words[s.*r->choice ? 0 : 1]);
        break;
    case SettingKind::keys:
        shown.press = RowPress::key;
        break;
    case SettingKind::button: {
        const int button = s.gamepad_buttons[std::size_t(r->index)];
        shown.press = RowPress::button;
        if (button == 0)
            write_upper(shown.value, "none");
        else
            std::snprintf(shown.value, sizeof shown.value, "BUTTON %d", button);
        break;
    }
    }
    return shown;
}

int& action_button(Settings& s, int action)
{
    return s.gamepad_buttons[std::size_t(action)];
}

void copy_page_row(OptionsPage page, int row, const Settings& from, Settings& to)
{
    const SettingRow* r = table_row(page, row);
    if (r == nullptr)
        return;
    switch (r->kind) {
    case SettingKind::number:
        to.*r->number = from.*r->number;
        break;
    case SettingKind::choice:
        to.*r->choice = from.*r->choice;
        break;
    case SettingKind::keys:
        to.keys = from.keys;
        break;
    case SettingKind::button:
        to.gamepad_buttons = from.gamepad_buttons;
        break;
    }
}

bool turn_page_row(OptionsPage page, int row, int direction, Settings& s)
{
    const SettingRow* r = table_row(page, row);
    if (r == nullptr || r->kind == SettingKind::keys)
        return false;
    if (r->kind == SettingKind::choice) {
        s.*r->choice = !(s.*r->choice);
        return true;
    }
    int& value = number_of(*r, s);
    const int before = value;
    value = std::clamp(value + direction * step_of(*r), r->min, r->max);
    return value != before;
}
