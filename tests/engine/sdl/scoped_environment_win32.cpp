// ScopedEnvironment on Windows, where an empty value removes the variable.
#include <stdlib.h>

#include "tests/engine/sdl/test_files.h"

ScopedEnvironment::ScopedEnvironment(const char* name, std::optional<std::string> value) : name_(name) {
  if (const char* old = std::getenv(name)) previous_ = old;
  _putenv_s(name, value ? value->c_str() : "");
}

ScopedEnvironment::~ScopedEnvironment() { _putenv_s(name_.c_str(), previous_ ? previous_->c_str() : ""); }
