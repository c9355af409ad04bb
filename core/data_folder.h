// Finding the folder that holds the image catalogue (a pix/ folder) among
// the places a program may look. Standard library only.
#pragma once

#include <string>
#include <vector>

// The first candidate that holds a pix/ folder, as given; empty when none
// does. Empty candidates (a place that could not be worked out) are passed over.
std::string findDataFolder(const std::vector<std::string>& candidates);
