// Reading the favourites file on Windows: its kind and size are looked at
// before it is opened, then it is read whole.
#include <filesystem>
#include <fstream>
#include <system_error>

#include "app/favourites.h"
#include "app/favourites_file.h"

namespace fs = std::filesystem;

bool readFavouritesText(const std::string& path, std::string& text, std::string& error) {
  text.clear();
  const std::string tooLarge = "the favourites '" + path + "' is larger than " +
                               std::to_string(kFavouritesLargestFile >> 20) + " MB; it was left alone";
  std::error_code code;
  const fs::file_status status = fs::status(path, code);
  if (status.type() == fs::file_type::not_found) return true;
  if (code) {
    error = "can't read the favourites '" + path + "': " + code.message();
    return false;
  }
  if (status.type() != fs::file_type::regular) {
    error = "the favourites '" + path + "' is " +
            (status.type() == fs::file_type::directory ? "a folder" : "not a plain file");
    return false;
  }
  const uintmax_t size = fs::file_size(path, code);
  if (!code && size > kFavouritesLargestFile) {
    error = tooLarge;
    return false;
  }
  // Opened by the same wide name the writer replaces, not through the narrow
  // runtime call, which would read a name outside ASCII differently.
  std::ifstream file(fs::path(path), std::ios::binary);
  if (!file) {
    error = "can't read the favourites '" + path + "': it can't be opened";
    return false;
  }
  // Up to one byte past the limit, in case the file grew meanwhile.
  text.resize(kFavouritesLargestFile + 1);
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (file.bad()) {
    text.clear();
    error = "can't read the favourites '" + path + "': a read failed";
    return false;
  }
  text.resize(static_cast<size_t>(file.gcount()));
  if (text.size() > kFavouritesLargestFile) {
    text.clear();
    error = tooLarge;
    return false;
  }
  return true;
}
