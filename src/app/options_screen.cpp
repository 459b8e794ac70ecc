// The options screen's steps: the menu's keys move through the pages and
// rows, and a change goes to the settings at once for the game to follow.
#include "app/options_screen.h"

#include <bit>
#include <chrono>
#include <cstdio>

#include <allegro.h>

#include "app/key_binding.h"
#include "app/live_settings.h"
#include "app/menu_text.h"
#include "app/options_screen_state.h"
#include "app/title_menu.h"
#include "input/gamepad.h"
#include "settings/key_names.h"

OptionsScreen options_screen;

namespace {

OptionsScreen& opts = options_screen;
bool escape_latched = false;

// The line saying the file could not be saved, shown this long after leaving.
char notice[OPTIONS_WORD_SIZE + 64] = "";
std::chrono::steady_clock::time_point notice_until;
constexpr std::chrono::seconds NOTICE_SHOWN{6};

// The menu's sounds hear the title menu's entries; the screen's choices lie above.
constexpr int FIRST_CHOICE_HEARD = MENU_QUIT + 1;
constexpr int CHOICES_HEARD = 1000;

void say(const char* text)
{
    std::snprintf(opts.word, sizeof opts.word, "%s", text);
}

void moved()
{
    ++opts.sound_cue;
}

OptionsPage page()
{
    return OptionsPage(opts.page);
}

void close_screen()
{
    opts.open = false;
    escape_latched = true;
    if (!settings_unsaved())
        return;
    const std::string trouble = save_settings_file();
    std::snprintf(notice, sizeof notice, "%s", trouble.c_str());
    notice_until = std::chrono::steady_clock::now() + NOTICE_SHOWN;
}

// Up and Down, repeating while held: a step through count choices.
void choose(int& choice, int count)
{
    const int before = choice;
    if (key_repeats(opts.keys, KEY_UP) && choice > 0)
        --choice;
    if (key_repeats(opts.keys, KEY_DOWN) && choice < count - 1)
        ++choice;
    if (choice != before)
        moved();
}

int left_or_right()
{
    if (key_repeats(opts.keys, KEY_LEFT))
        return -1;
    if (key_repeats(opts.keys, KEY_RIGHT))
        return 1;
    return 0;
}

void open_page(int chosen)
{
    opts.page = chosen;
    opts.row = 0;
    opts.slot = 0;
    opts.yes = false;
    say("");
    moved();
}

void step_list()
{
    if (key_pressed(opts.keys, KEY_ESC)) {
        close_screen();
        return;
    }
    choose(opts.chosen_page, OPTIONS_PAGE_COUNT);
    if (key_pressed(opts.keys, KEY_ENTER))
        open_page(opts.chosen_page);
}

void turn_row(int direction)
{
    const Settings before = settings;
    if (turn_page_row(page(), opts.row, direction, settings)) {
        follow_changed_row(before, page(), opts.row);
        moved();
    }
}

void step_page()
{
    if (key_pressed(opts.keys, KEY_ESC)) {
        opts.page = OPTIONS_LIST;
        say("");
        moved();
        return;
    }
    const int row_before = opts.row;
    choose(opts.row, page_row_count(page()));
    if (opts.row != row_before)
        say("");
    const PageRow row = page_row(page(), opts.row, settings);
    const int direction = left_or_right();
    if (row.press == RowPress::key && direction != 0 && opts.slot != (direction + 1) / 2) {
        opts.slot = (direction + 1) / 2;
        moved();
    } else if (row.press != RowPress::key && direction != 0) {
        turn_row(direction);
    }
    if (!key_pressed(opts.keys, KEY_ENTER))
        return;
    say("");
    if (row.press == RowPress::turn) {
        turn_row(1);
    } else if (row.press == RowPress::key) {
        opts.waiting = Waiting::key;
    } else {
        opts.waiting = Waiting::button;
        opts.buttons_before = gamepad_buttons_down();
    }
}

void step_defaults()
{
    if (key_pressed(opts.keys, KEY_ESC)) {
        opts.page = OPTIONS_LIST;
        moved();
        return;
    }
    for (const int k : {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN})
        if (key_pressed(opts.keys, k)) {
            opts.yes = !opts.yes;
            moved();
        }
    if (!key_pressed(opts.keys, KEY_ENTER))
        return;
    if (opts.yes) {
        const Settings before = settings;
        settings = Settings{};
        follow_defaults(before);
        say("Every setting is back to its default");
    }
    opts.page = OPTIONS_LIST;
    moved();
}

void wait_for_key()
{
    const int k = first_key_pressed(opts.keys);
    if (k == 0)
        return;
    if (k == KEY_ESC) {
        opts.waiting = Waiting::nothing;
        say("");
        return;
    }
    const Settings before = settings;
    const int control = page_row(page(), opts.row, settings).index;
    const KeyBinding b = k == KEY_BACKSPACE ? clear_key(settings, control, opts.slot)
                                            : bind_key(settings, control, opts.slot, k);
    if (!b.bound) {
        say(b.refusal.c_str());
        return;
    }
    opts.waiting = Waiting::nothing;
    if (b.moved_from >= 0)
        std::snprintf(opts.word, sizeof opts.word, "%s moved from %s", key_name(k),
                      control_label(b.moved_from).c_str());
    else
        say("");
    follow_changed_row(before, page(), opts.row);
    moved();
}

void bind_button(int button)
{
    const Settings before = settings;
    const int action = page_row(page(), opts.row, settings).index;
    say("");
    if (button != 0)
        for (int a = 0; a < ACTION_COUNT; ++a)
            if (a != action && action_button(settings, a) == button) {
                action_button(settings, a) = 0;
                std::snprintf(opts.word, sizeof opts.word, "Button %d moved from %s", button,
                              control_label(a).c_str());
            }
    action_button(settings, action) = button;
    opts.waiting = Waiting::nothing;
    follow_changed_row(before, page(), opts.row);
    moved();
}

void wait_for_button()
{
    if (key_pressed(opts.keys, KEY_ESC)) {
        opts.waiting = Waiting::nothing;
        return;
    }
    if (key_pressed(opts.keys, KEY_BACKSPACE)) {
        bind_button(0);
        return;
    }
    const unsigned down = gamepad_buttons_down();
    const unsigned pressed = down & ~opts.buttons_before;
    opts.buttons_before = down;
    if (pressed != 0)
        bind_button(std::countr_zero(pressed) + 1);
}

} // namespace

void open_options_screen()
{
    opts = OptionsScreen{};
    opts.open = true;
    show_settings_as_played();
    // The key that opened the screen is not its first press.
    take_keys_as_held(opts.keys);
}

bool options_screen_open()
{
    return opts.open;
}

void step_options_screen()
{
    if (!opts.open)
        return;
    read_key_presses(opts.keys);
    if (opts.waiting == Waiting::key)
        wait_for_key();
    else if (opts.waiting == Waiting::button)
        wait_for_button();
    else if (opts.page == OPTIONS_LIST)
        step_list();
    else if (page() == OptionsPage::defaults)
        step_defaults();
    else
        step_page();
}

int options_screen_choice_heard()
{
    return FIRST_CHOICE_HEARD + opts.sound_cue % CHOICES_HEARD;
}

bool options_screen_holds_escape()
{
    if (opts.open)
        return true;
    if (escape_latched && key[KEY_ESC] == 0)
        escape_latched = false;
    return escape_latched;
}

void draw_options_notice()
{
    if (notice[0] == '\0' || opts.open || std::chrono::steady_clock::now() > notice_until)
        return;
    begin_text_overlay();
    draw_menu_text(12.0f, 572.0f, OPTIONS_SMALL_TEXT, OPTIONS_WORD_COLOUR, notice);
    end_text_overlay();
}
