// FixedDesktopPlatform: the operating-system services for programs that run
// with nobody at the screen (the screensaver, the still tool, the soak run):
// a desktop of a given size, messages on standard error, no questions asked.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/platform.h"

class FixedDesktopPlatform : public Platform {
 public:
  // programName starts every message written ("driftglow-saver: ...").
  FixedDesktopPlatform(std::string programName, DesktopSize desktop);

  // Writes error messages (kMbIconError) to standard error and remembers
  // them; answers kIdNo to a question and kIdOk to anything else.
  int ShowMessage(const std::string& text, const std::string& caption, unsigned style) override;
  DesktopSize GetDesktopSize() override { return desktop_; }
  // The calendar time, or the fixed time once FixClock has been called.
  int64_t NowSeconds() override;

  void SetDesktopSize(DesktopSize desktop) { desktop_ = desktop; }
  // NowSeconds returns seconds from now on, so that every run starts alike.
  void FixClock(int64_t seconds) { fixedSeconds_ = seconds; }
  // True once an error message has been shown.
  bool Failed() const { return failed_; }

 private:
  std::string programName_;
  DesktopSize desktop_;
  std::optional<int64_t> fixedSeconds_;
  bool failed_ = false;
};
