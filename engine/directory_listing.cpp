// Wildcard folder listing on std::filesystem, in a machine-independent order.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "engine/platform.h"

namespace {

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Classic wildcard match with backtracking over the last "*"; linear in practice.
bool wildcardMatch(const std::string& pattern, const std::string& name) {
  size_t p = 0, n = 0, starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool lessCaseInsensitive(const DirectoryEntry& a, const DirectoryEntry& b) {
  const auto& x = a.name;
  const auto& y = b.name;
  bool less = std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(),
                                           [](char l, char r) { return lower(l) < lower(r); });
  bool greater = std::lexicographical_compare(y.begin(), y.end(), x.begin(), x.end(),
                                              [](char l, char r) { return lower(l) < lower(r); });
  if (less != greater) return less;
  return x < y;  // names equal but for case: plain byte order keeps the result total
}

}  // namespace

std::vector<DirectoryEntry> ListDirectory(const std::string& pattern) {
  std::string normalised = pattern;
  std::replace(normalised.begin(), normalised.end(), '\\', '/');
  size_t slash = normalised.rfind('/');
  std::string folder = slash == std::string::npos ? "." : normalised.substr(0, slash);
  std::string mask = slash == std::string::npos ? normalised : normalised.substr(slash + 1);
  if (folder.empty()) folder = "/";

  std::vector<DirectoryEntry> entries;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  if (error) return entries;
  for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (error) break;
    std::string name = it->path().filename().string();
    if (!wildcardMatch(mask, name)) continue;
    std::error_code typeError;
    entries.push_back({name, it->is_directory(typeError)});
  }
  std::sort(entries.begin(), entries.end(), lessCaseInsensitive);
  return entries;
}
