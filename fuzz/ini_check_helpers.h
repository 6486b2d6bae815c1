#pragma once

// Pieces of the INI fuzz checks: how an input splits into a file and operations, and how the
// sections and keys a file holds are found without the engine.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text.h"

namespace tarnwick::fuzz {

/// Replaces the file with the bytes; false when that fails.
inline bool WriteWholeFile(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

/// A settings file and what to do with it.
struct IniFuzzInput {
  std::string fileText;
  unsigned char choices[4] = {0, 0, 0, 0};
  std::string value = "  written value  ";
};

/// The input split into the file and the operations after its last 0x01 byte. The choices are
/// taken modulo one more than the things to choose from; the last one picks a new name.
inline IniFuzzInput SplitIniFuzzInput(std::string_view data) {
  IniFuzzInput input;
  size_t mark = data.rfind('\x01');
  input.fileText = std::string(data.substr(0, mark));
  if (mark == std::string_view::npos) return input;
  std::string_view ops = data.substr(mark + 1);
  for (size_t i = 0; i < 4 && i < ops.size(); ++i) input.choices[i] = static_cast<unsigned char>(ops[i]);
  input.value = std::string(ops.size() > 4 ? ops.substr(4) : std::string_view());
  return input;
}

inline std::string_view TrimBlankView(std::string_view text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

/// A value as a key read hands it out: one pair of double quotes around it dropped.
inline std::string WithoutQuotePair(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  return std::string(value);
}

/// What a written value reads back as: CR and LF become blanks, blanks around it are dropped,
/// then one pair of double quotes around it.
inline std::string ValueAsRead(std::string value) {
  for (char& c : value) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return WithoutQuotePair(TrimBlankView(value));
}

/// The names of the sections in the text (distinct without regard to case, at most 16; a name runs
/// to the last "]" of its line), as a caller can pass them back: those holding a carriage return
/// are left out.
inline std::vector<std::string> SectionNamesOf(std::string_view text) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start < text.size() && names.size() < 16) {
    size_t end = text.find('\n', start);
    std::string_view line = TrimBlankView(text.substr(start, end == std::string_view::npos ? end : end - start));
    start = end == std::string_view::npos ? text.size() : end + 1;
    if (line.empty() || line.front() != '[') continue;
    const size_t close = line.rfind(']');
    std::string name(TrimBlankView(line.substr(1, close == std::string_view::npos ? close : close - 1)));
    if (name.find('\r') != std::string::npos) continue;
    bool known = false;
    for (const std::string& seen : names) known = known || platform::EqualsIgnoreCase(seen, name);
    if (!known) names.push_back(name);
  }
  return names;
}

/// The key of a section entry ("key=value"), or nullopt for a line without "=".
inline std::optional<std::string> KeyOf(const std::string& entry) {
  size_t equals = entry.find('=');
  if (equals == std::string::npos) return std::nullopt;
  return entry.substr(0, equals);
}

/// The entries of a section whose key is not `key`.
inline std::vector<std::string> EntriesWithout(const std::vector<std::string>& entries, const std::string& key) {
  std::vector<std::string> kept;
  for (const std::string& entry : entries) {
    std::optional<std::string> entryKey = KeyOf(entry);
    if (!entryKey || !platform::EqualsIgnoreCase(*entryKey, key)) kept.push_back(entry);
  }
  return kept;
}

}  // namespace tarnwick::fuzz
