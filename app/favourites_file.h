// Reading the favourites file whole, one file per system behind it
// (favourites_file_posix.cpp, favourites_file_win32.cpp).
#pragma once

#include <string>

// The whole file at path into text. A missing file reads as empty and gives
// true. A folder, anything but a plain file, an unreadable file or one larger
// than kFavouritesLargestFile gives false, an empty text and a one-line error.
bool readFavouritesText(const std::string& path, std::string& text, std::string& error);
