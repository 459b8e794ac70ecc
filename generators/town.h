// The town's authoring source (data/town.txt): objects of coloured unit
// primitives, each set on the ground where it stands. Read by
// generators/make_height_data, which writes the scenery list from it and then the
// building map from that list.
#pragma once

#include <string>
#include <vector>

#include "world/scenery.h"

// Reads the town source and places every object on the ground; terrain_grid
// must already hold the land. Returns false, with the line on stderr, when the
// source cannot be read.
bool build_town(const std::string& path, std::vector<SceneryPart>& parts);

// Writes the records one per line in the form load_scenery reads.
bool write_scenery(const std::string& path, const std::vector<SceneryPart>& parts);
