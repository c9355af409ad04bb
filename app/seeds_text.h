// A screen's three seeds as text, "12,34,56": how the viewer names a screen
// on its output, in its favourites and on its command line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// "structure,colour,parameters" in decimal.
std::string seedsText(const int32_t seeds[3]);

// Three whole numbers from 1 to 2147483647 separated by commas, the whole
// text and nothing else; false (seeds untouched) otherwise.
bool parseSeedsText(std::string_view text, int32_t seeds[3]);
