// Checking "height.dat" before the library loads it. The library trusts every
// size and type it reads, so a cut-short, damaged or foreign file could crash
// it; this check lets through only the form the game's build writes.
#pragma once

// True when the file at path (plain, packed as a whole, or with each object
// packed on its own) is a datafile of exactly the game's four bitmaps, in
// order: each of type BMP with at most one property, a NAME of 1 to 255
// printable characters; each chunk lying wholly inside the file, of the size
// it states and, when packed, unpacking to exactly that size from exactly its
// own bytes; each bitmap of 24-bit pixels, holding exactly the pixels its
// header promises, the terrain bitmaps at least 100 x 100; and nothing after
// the last object.
bool datafile_is_sound(const char* path);
