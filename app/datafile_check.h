// Checking the structure of an Allegro datafile before the library loads it.
// The library trusts every size and type it reads, so a cut-short or damaged
// file would crash it; this check refuses such a file first.
#pragma once

// True when the file at path (plain, or packed as a whole) is a datafile whose
// objects all lie wholly inside it, each chunk of the size it states, every
// bitmap holding exactly the pixels its header promises, and nothing after the
// last object. Object types whose contents the library would parse (fonts,
// samples, nested datafiles, ...) are refused: the game reads only bitmaps.
bool datafile_is_sound(const char* path);
