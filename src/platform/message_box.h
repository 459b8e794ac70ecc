// A start-up failure said to the player: on standard error, and in the
// library's message box as well where there is a display to show it on.
#pragma once

// Writes "ironstep: " and the text to standard error, then shows the text in
// a box and waits for OK when a display is there (with_box). Under X11 the
// library runs xmessage for the box; what xmessage or the library print on
// the console besides (xmessage's complaints about its fonts, the text again
// when no box could be shown) is not passed on.
void report_failure(const char* text, bool with_box);
