// The favourites file: one kept screen per line, its seeds and the date it
// was kept ("12,34,56 2026-12-08"). Read leniently (a damaged line is
// skipped with a warning) and written whole through a temporary file, so
// that no failure loses the screens kept before.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using SeedTriple = std::array<int32_t, 3>;

// A favourites file larger than this is refused rather than read.
constexpr size_t kFavouritesLargestFile = 4 * 1024 * 1024;

struct Favourites {
  std::vector<SeedTriple> screens;    // in file order, each once
  std::vector<std::string> warnings;  // one line per damaged line skipped
};

// Reads the lines of a favourites text. Blank lines and lines starting with
// "#" are skipped silently; a repeated screen is listed once.
Favourites parseFavourites(std::string_view text);

// Reads the file at path. A missing file is an empty list; a folder, an
// unreadable file or one larger than kFavouritesLargestFile gives false and
// a one-line error.
bool readFavourites(const std::string& path, Favourites& favourites, std::string& error);

enum class KeepResult { Kept, AlreadyKept, Failed };

// Adds the screen to the file at path with the date text, creating its
// folder and the file as needed. A screen already in the file is not added
// again. Every earlier line, damaged ones included, is kept as it was.
// Failed comes with a one-line error, the file then unchanged.
KeepResult keepFavourite(const std::string& path, const SeedTriple& seeds, const std::string& date, std::string& error);
