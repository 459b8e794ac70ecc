// The record of what the hits were, written by the rules for sound to read.
#include "gameplay/hit_record.h"

HitRecord hit_record{};
