// Seeds to and from their text.
#include "app/seeds_text.h"

#include <charconv>

std::string seedsText(const int32_t seeds[3]) {
  return std::to_string(seeds[0]) + "," + std::to_string(seeds[1]) + "," + std::to_string(seeds[2]);
}

bool parseSeedsText(std::string_view text, int32_t seeds[3]) {
  int32_t values[3] = {0, 0, 0};
  for (int i = 0; i < 3; ++i) {
    const size_t comma = i < 2 ? text.find(',') : text.size();
    if (comma == std::string_view::npos || comma == 0) return false;
    const char* end = text.data() + comma;
    const auto [stop, error] = std::from_chars(text.data(), end, values[i]);
    // from_chars takes a leading minus; seeds are positive.
    if (error != std::errc() || stop != end || values[i] < 1) return false;
    text.remove_prefix(i < 2 ? comma + 1 : comma);
  }
  for (int i = 0; i < 3; ++i) seeds[i] = values[i];
  return true;
}
