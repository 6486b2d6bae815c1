#include "ui/display_text.h"

namespace tarnwick::ui {
namespace {

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// The length in bytes of the character at `position`: a lead byte and the continuation bytes
// that follow it, up to the longest UTF-8 sequence.
size_t CharacterLength(std::string_view text, size_t position) {
  const auto lead = static_cast<unsigned char>(text[position]);
  size_t wanted = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  size_t length = 1;
  while (length < wanted && position + length < text.size() &&
         IsContinuation(static_cast<unsigned char>(text[position + length]))) {
    ++length;
  }
  return length;
}

// The byte offset after the first `count` characters.
size_t EndOfCharacters(std::string_view text, size_t count) {
  size_t position = 0;
  for (size_t seen = 0; seen < count && position < text.size(); ++seen) position += CharacterLength(text, position);
  return position;
}

}  // namespace

std::string FirstCharacters(std::string_view text, size_t count) {
  return std::string(text.substr(0, EndOfCharacters(text, count)));
}

bool LongerThan(std::string_view text, size_t count) {
  return EndOfCharacters(text, count) < text.size();
}

}  // namespace tarnwick::ui
