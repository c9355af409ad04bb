// FixedDesktopPlatform: messages to standard error, a desktop of a set size.
#include "engine/fixed_desktop_platform.h"

#include <cstdio>
#include <ctime>
#include <utility>

FixedDesktopPlatform::FixedDesktopPlatform(std::string programName, DesktopSize desktop)
    : programName_(std::move(programName)), desktop_(desktop) {}

int FixedDesktopPlatform::ShowMessage(const std::string& text, const std::string&, unsigned style) {
  if (style & kMbIconError) {
    std::fprintf(stderr, "%s: %s\n", programName_.c_str(), text.c_str());
    failed_ = true;
  }
  return (style & 0xF) == kMbYesNo ? kIdNo : kIdOk;
}

int64_t FixedDesktopPlatform::NowSeconds() {
  return fixedSeconds_ ? *fixedSeconds_ : static_cast<int64_t>(std::time(nullptr));
}
