// Id keys and OrderKey.
#include "scene/keys.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "core/float_to_int.h"

KeyText IdKey(int32_t id) {
  KeyText key;
  const auto result = std::to_chars(key.text_, key.text_ + sizeof key.text_, id);
  key.length_ = static_cast<int>(result.ptr - key.text_);
  return key;
}

KeyText OrderKey(float value, std::string_view idKey) {
  constexpr int kWidth = 11;
  const uint32_t wrapped = static_cast<uint32_t>(truncateToInt32(value)) + 1000000000u;
  const int32_t shifted = static_cast<int32_t>(wrapped);

  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, shifted);
  const int digitCount = static_cast<int>(result.ptr - digits);

  KeyText key;
  const int padding = std::max(0, kWidth - digitCount);
  std::memset(key.text_, '0', static_cast<size_t>(padding));
  std::memcpy(key.text_ + padding, digits, static_cast<size_t>(digitCount));
  int length = padding + digitCount;
  // Id keys are at most 11 characters; anything longer is cut to the buffer.
  const size_t room = sizeof key.text_ - static_cast<size_t>(length);
  const size_t idLength = std::min(idKey.size(), room);
  if (idLength > 0) std::memcpy(key.text_ + length, idKey.data(), idLength);
  key.length_ = length + static_cast<int>(idLength);
  return key;
}
