// The short reasons both pack readers give when a file on the disk can't be
// read.
#include <cctype>
#include <cerrno>
#include <cstring>
#include <string>

#include "engine/sdl/resource_packs.h"

std::string ResourcePacks::ReasonFor(int code) {
  switch (code) {
    case ENOENT:
    case ENOTDIR: return "not found";
    case EACCES:
    case EPERM: return "permission denied";
    case ELOOP: return "too many levels of symbolic links";
    default: {
      std::string text = std::strerror(code);
      if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
      return text;
    }
  }
}
