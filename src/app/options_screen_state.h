// The options screen's state, shared by its steps and its drawing.
#pragma once

#include "app/key_presses.h"
#include "app/options_rows.h"

// What the screen waits for after Enter on a key or button row.
enum class Waiting { nothing, key, button };

constexpr int OPTIONS_LIST = -1; // the page shown when the list of pages is
constexpr int OPTIONS_WORD_SIZE = 96;

struct OptionsScreen {
    bool open = false;
    int page = OPTIONS_LIST; // an OptionsPage, or the list
    int chosen_page = 0;     // the list's choice
    int row = 0;             // the page's chosen row
    int slot = 0;            // on a key row, its first or second key
    bool yes = false;        // the defaults' answer
    Waiting waiting = Waiting::nothing;
    unsigned buttons_before = 0; // the pad's buttons at the last look, while waiting for one
    char word[OPTIONS_WORD_SIZE] = ""; // what the screen says of the last change
    KeyPresses keys;
    int sound_cue = 0; // counts moves and changes
};

extern OptionsScreen options_screen;
