// The text keys the scene files its objects and graphics under: id keys and
// OrderKey. Built in a small buffer on the stack, so making a key allocates
// nothing.
#pragma once

#include <cstdint>
#include <string_view>

class KeyText {
 public:
  std::string_view View() const { return std::string_view(text_, static_cast<size_t>(length_)); }
  operator std::string_view() const { return View(); }

 private:
  friend KeyText IdKey(int32_t id);
  friend KeyText OrderKey(float value, std::string_view idKey);
  char text_[40] = {};
  int length_ = 0;
};

// The id in decimal without leading zeros: 7 gives "7", 12 gives "12".
KeyText IdKey(int32_t id);

// The value truncated toward zero, plus 1,000,000,000 (wrapping at 32 bits),
// in decimal left-padded with "0" to 11 characters, then the id key:
// OrderKey(12.7, "5") is "010000000125". Sorted keys order by truncated value
// while it lies between -1,000,000,000 and 1,147,483,647, then by id text.
// Not-a-number counts as 0 and values beyond the 32-bit range as its ends.
KeyText OrderKey(float value, std::string_view idKey);
