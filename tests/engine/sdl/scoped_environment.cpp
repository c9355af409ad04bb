// ScopedEnvironment with the POSIX calls.
#include <stdlib.h>

#include "tests/engine/sdl/test_files.h"

ScopedEnvironment::ScopedEnvironment(const char* name, std::optional<std::string> value) : name_(name) {
  if (const char* old = std::getenv(name)) previous_ = old;
  if (value) ::setenv(name, value->c_str(), 1);
  else ::unsetenv(name);
}

ScopedEnvironment::~ScopedEnvironment() {
  if (previous_) ::setenv(name_.c_str(), previous_->c_str(), 1);
  else ::unsetenv(name_.c_str());
}
