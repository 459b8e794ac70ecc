// Playing a recording through the game on a clock the program drives itself:
// one logic tick for every 60th of a second of game time, however long the
// frames take, so what happens does not depend on the machine's speed.
#pragma once

#include <string>

// Opens the recording, starts the game whose data lies beside executable
// (nullptr: beside the running program) without its timers and without its
// console lines, makes the recording the demo stream, seeds the random
// numbers, runs the title menu's own step menu_ticks times with DEMO chosen
// (the Carrier goes on along its route, as behind a player's menu) and places
// the player at the demo's start. What is not a recording (a folder, an empty
// file, one with no record the demo plays) is refused before the game starts;
// what is wrong with one that still plays (cut short, shorter or longer than
// the demo) is put in note, when given. Returns an empty string, or what went
// wrong; the game is then not running.
std::string start_driven_demo(const char* executable, const char* recording, unsigned seed, int menu_ticks = 0,
                              std::string* note = nullptr);

// The game's start-up with its progress bars kept off standard output, which
// a tool keeps for its results (a failed start-up says why on standard
// error). Returns start-up's status.
int start_up_quietly(const char* executable);

// What a start-up status other than EXIT_NORMAL means, for a tool's message.
std::string start_up_fault(int status);
