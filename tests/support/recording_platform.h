// A platform with a scripted desktop, clock and message-box answers, which
// records every message shown.
#pragma once

#include <string>
#include <vector>

#include "engine/platform.h"

class RecordingPlatform : public Platform {
 public:
  struct Message {
    std::string text, caption;
    unsigned style;
  };

  DesktopSize desktop{1920, 1080};
  int answer = kIdNo;
  int64_t now = 1234567;
  std::vector<Message> messages;

  int ShowMessage(const std::string& text, const std::string& caption, unsigned style) override {
    messages.push_back({text, caption, style});
    return (style & kMbYesNo) ? answer : kIdOk;
  }
  DesktopSize GetDesktopSize() override { return desktop; }
  int64_t NowSeconds() override { return now; }
};
