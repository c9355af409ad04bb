// Writing a whole file so that it is either complete under its name or
// unchanged: the bytes go to a temporary file beside it, which is synced and
// then renamed over the name. POSIX only.
#pragma once

#include <string>
#include <string_view>

// Writes bytes as path's new content. On any failure (folder missing or not
// writable, disk full) path keeps what it held, no temporary file is left,
// and error says why in one line. Safe to call from any thread.
bool replaceFileContents(const std::string& path, std::string_view bytes, std::string& error);
