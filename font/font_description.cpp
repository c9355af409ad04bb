// The ".fnt" description reader. Every read is bounded by the text's length,
// numbers saturate instead of overflowing, and bytes above 0x7F are plain
// characters, so any input, however damaged, is read safely.
#include "font/font_description.h"

#include <algorithm>
#include <climits>

namespace {

bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

// White space as scanf's blanks and "%d" skip it (the C locale's set).
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n'; }

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A cursor over one line that reads the way the scanf-style patterns do.
class LineReader {
 public:
  explicit LineReader(std::string_view line, size_t position = 0) : line_(line), position_(position) {}

  size_t position() const { return position_; }
  bool atEnd() const { return position_ >= line_.size(); }
  char peek() const { return atEnd() ? '\0' : line_[position_]; }

  void skipBlanks() {
    while (!atEnd() && isBlank(line_[position_])) ++position_;
  }
  bool accept(char c) {
    if (atEnd() || line_[position_] != c) return false;
    ++position_;
    return true;
  }
  // "%d": blanks, an optional sign, at least one decimal digit. Values beyond
  // the int range saturate at its ends.
  bool readInt(int& value) {
    skipBlanks();
    size_t p = position_;
    bool negative = false;
    if (p < line_.size() && (line_[p] == '+' || line_[p] == '-')) negative = line_[p++] == '-';
    if (p >= line_.size() || line_[p] < '0' || line_[p] > '9') return false;
    long long magnitude = 0;
    for (; p < line_.size() && line_[p] >= '0' && line_[p] <= '9'; ++p) {
      if (magnitude <= INT_MAX) magnitude = magnitude * 10 + (line_[p] - '0');
    }
    position_ = p;
    if (negative) {
      value = magnitude > -static_cast<long long>(INT_MIN) ? INT_MIN : static_cast<int>(-magnitude);
    } else {
      value = magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
    }
    return true;
  }
  // "%s": blanks, then one word up to the next blank; false when none.
  bool readWord(std::string_view& word) {
    skipBlanks();
    size_t start = position_;
    while (!atEnd() && !isBlank(line_[position_])) ++position_;
    word = line_.substr(start, position_ - start);
    return !word.empty();
  }

 private:
  std::string_view line_;
  size_t position_;
};

// "Bitmap = %s": the word after the equals sign, or false when the line does
// not match (BitmapX, or nothing after the equals sign).
bool readBitmapWord(std::string_view line, std::string_view& word) {
  LineReader reader(line, std::string_view("Bitmap").size());
  reader.skipBlanks();
  if (!reader.accept('=')) return false;
  return reader.readWord(word);
}

// The six numbers of a "Char" line. Numbers that fail to read keep their
// values from the previous "Char" line, as a scanf into the same variables would.
struct GlyphNumbers {
  int x = 0, y = 0, w = 0, h = 0, pre = 0, post = 0;
};

// Reads the code and the numbers of a "Char" line; false when the line is
// ignored (no "=", nothing after an opening quote, or a code above 0xFF).
bool readCharLine(std::string_view line, int& code, GlyphNumbers& numbers) {
  size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  size_t p = equals + 1;
  while (p < line.size() && line[p] == ' ') ++p;

  if (p < line.size() && line[p] == '"') {
    // The byte after the quote is the code; the next one is taken to be the
    // closing quote whatever it is.
    if (p + 1 >= line.size()) return false;
    code = static_cast<unsigned char>(line[p + 1]);
    p = p + 3 < line.size() ? p + 3 : line.size();
  } else {
    int value = 0;
    for (int digit; p < line.size() && (digit = hexDigit(line[p])) >= 0; ++p) {
      // Past 0xFF the line is ignored anyway; stop growing so nothing overflows.
      if (value <= 0xFF) value = value * 16 + digit;
    }
    if (value > 0xFF) return false;
    code = value;
  }

  // " , %d , %d , %d , %d , %d , %d": stops at the first mismatch.
  LineReader reader(line, p);
  int* targets[] = {&numbers.x, &numbers.y, &numbers.w, &numbers.h, &numbers.pre, &numbers.post};
  for (int* target : targets) {
    reader.skipBlanks();
    if (!reader.accept(',')) break;
    if (!reader.readInt(*target)) break;
  }
  return true;
}

// Splits the text into lines at runs of CR and LF.
class LineSplitter {
 public:
  explicit LineSplitter(std::string_view text) : text_(text) {}

  // The next line, at most kFontLineLimit characters of it; false once the
  // text is used up.
  bool next(std::string_view& line) {
    if (position_ >= text_.size()) return false;
    size_t end = position_;
    while (end < text_.size() && !isLineBreak(text_[end])) ++end;
    line = text_.substr(position_, std::min(end - position_, kFontLineLimit));
    while (end < text_.size() && isLineBreak(text_[end])) ++end;
    position_ = end;
    return true;
  }
  bool moreText() const { return position_ < text_.size(); }

 private:
  std::string_view text_;
  size_t position_ = 0;
};

}  // namespace

std::string FontTexturePath(std::string_view descriptionName, std::string_view word) {
  size_t separator = descriptionName.rfind('\\');
  if (separator == std::string_view::npos) separator = descriptionName.rfind('/');
  std::string path;
  if (separator != std::string_view::npos) path = descriptionName.substr(0, separator + 1);
  if (path.size() + word.size() > kFontPathLimit) return {};
  path += word;
  return path;
}

FontDescription ReadFontDescription(std::string_view text, std::string_view descriptionName) {
  FontDescription description;
  size_t zero = text.find('\0');
  if (zero != std::string_view::npos) text = text.substr(0, zero);

  // The header is the text up to the first line break: a description that
  // starts with an empty line has an empty first line and fails here.
  size_t headerEnd = 0;
  while (headerEnd < text.size() && !isLineBreak(text[headerEnd])) ++headerEnd;
  if (text.substr(0, headerEnd) != kFontHeader) return description;
  description.validHeader = true;

  LineSplitter lines(text.substr(headerEnd));
  std::string_view line;
  lines.next(line);  // only the line breaks after the header
  GlyphNumbers numbers;
  while (lines.next(line) && lines.moreText()) {
    FontDescriptionLine entry;
    if (line.starts_with("Bitmap")) {
      std::string_view word;
      if (!readBitmapWord(line, word)) continue;
      entry.kind = FontDescriptionLine::Kind::Bitmap;
      entry.texturePath = FontTexturePath(descriptionName, word);
    } else if (line.starts_with("Char")) {
      if (!readCharLine(line, entry.code, numbers)) continue;
      entry.kind = FontDescriptionLine::Kind::Char;
      entry.x = numbers.x;
      entry.y = numbers.y;
      entry.w = numbers.w;
      entry.h = numbers.h;
      entry.pre = numbers.pre;
      entry.post = numbers.post;
    } else {
      continue;
    }
    description.lines.push_back(std::move(entry));
  }
  return description;
}
