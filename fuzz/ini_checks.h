#pragma once

// What must hold for any settings file the INI engine is given. Shared by the fuzz target and by
// the unit test that replays the saved corpus, so both check the same things.
//
// An input is a settings file, optionally followed by the byte 0x01 and an operation text: four
// choice bytes (section and key to write, key to delete, section to delete) and the value to write.
// A plain settings file (a seed) gets choices 0 and a fixed value.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ini_check_helpers.h"
#include "platform/ini_file.h"
#include "platform/text.h"

namespace tarnwick::fuzz {

using SectionSnapshot = std::map<std::string, std::vector<std::string>>;

inline SectionSnapshot TakeSnapshot(const platform::IniFile& ini, const std::vector<std::string>& sections) {
  SectionSnapshot snapshot;
  for (const std::string& section : sections) snapshot[section] = ini.ReadSection(section);
  return snapshot;
}

/// Every key of every section reads as the first entry of that key (without a pair of quotes around
/// its value); a key that no entry has is absent.
inline std::string CheckKeyReads(const platform::IniFile& ini, const SectionSnapshot& snapshot) {
  for (const auto& [section, entries] : snapshot) {
    int checked = 0;
    for (const std::string& entry : entries) {
      std::optional<std::string> key = KeyOf(entry);
      if (!key || key->find('\r') != std::string::npos || ++checked > 4) continue;
      std::string expected;
      for (const std::string& first : entries) {
        std::optional<std::string> firstKey = KeyOf(first);
        if (firstKey && platform::EqualsIgnoreCase(*firstKey, *key)) {
          expected = WithoutQuotePair(first.substr(firstKey->size() + 1));
          break;
        }
      }
      if (ini.Read(section, *key) != expected) return "[" + section + "] " + *key + " does not read as its first entry";
    }
    if (ini.Read(section, "\x02 no such key")) return "[" + section + "] has a key no entry shows";
  }
  return {};
}

/// Every section of `before` other than `except` reads the same now.
inline std::string CheckOthersUnchanged(const platform::IniFile& ini, const SectionSnapshot& before,
                                        const std::string& except, const char* operation) {
  for (const auto& [section, entries] : before) {
    if (platform::EqualsIgnoreCase(section, except)) continue;
    if (ini.ReadSection(section) != entries)
      return "[" + section + "] changed after " + operation + " in [" + except + "]";
  }
  return {};
}

/// The key of the entry chosen by `choice` (modulo one more than their number) among the section's
/// keys, or `fallback` for the last choice.
inline std::string ChooseKey(const std::vector<std::string>& entries, unsigned choice, const std::string& fallback) {
  std::vector<std::string> keys;
  for (const std::string& entry : entries) {
    std::optional<std::string> key = KeyOf(entry);
    if (key && key->find('\r') == std::string::npos) keys.push_back(*key);
  }
  choice %= keys.size() + 1;
  return choice < keys.size() ? keys[choice] : fallback;
}

/// Empty when the engine handled the file soundly; otherwise what went wrong. The file is
/// written to `path` first, replacing what is there.
inline std::string CheckIniInput(const IniFuzzInput& input, const std::string& path) {
  if (!WriteWholeFile(path, input.fileText)) return "cannot write " + path;
  const platform::IniFile ini(path);
  std::vector<std::string> sections = SectionNamesOf(input.fileText);
  SectionSnapshot before = TakeSnapshot(ini, sections);
  std::string problem = CheckKeyReads(ini, before);
  if (!problem.empty()) return problem;

  // Write a key, existing or new, in a section, existing or new.
  const size_t sectionChoice = input.choices[0] % (sections.size() + 1);
  std::string section = sectionChoice < sections.size() ? sections[sectionChoice] : "Fuzz Section";
  std::string key = ChooseKey(before[section], input.choices[1], "FuzzKey");
  if (!ini.Write(section, key, input.value)) return "writing [" + section + "] " + key + " failed";
  if (ini.Read(section, key) != ValueAsRead(input.value)) return "[" + section + "] " + key + " does not read back";
  if (!(problem = CheckOthersUnchanged(ini, before, section, "a write")).empty()) return problem;
  if (EntriesWithout(ini.ReadSection(section), key) != EntriesWithout(before[section], key)) {
    return "other keys of [" + section + "] changed after a write";
  }
  sections.push_back(section);
  before = TakeSnapshot(ini, sections);
  if (!(problem = CheckKeyReads(ini, before)).empty()) return "after a write: " + problem;

  // Delete a key of some section.
  section = sections[input.choices[2] % sections.size()];
  key = ChooseKey(before[section], input.choices[2] / sections.size(), "FuzzKey");
  if (!ini.DeleteKey(section, key)) return "deleting [" + section + "] " + key + " failed";
  if (ini.Read(section, key)) return "[" + section + "] " + key + " reads after its deletion";
  if (ini.ReadSection(section) != EntriesWithout(before[section], key)) {
    return "other keys of [" + section + "] changed after deleting " + key;
  }
  if (!(problem = CheckOthersUnchanged(ini, before, section, "a deletion")).empty()) return problem;

  // Delete a section.
  before = TakeSnapshot(ini, sections);
  section = sections[input.choices[3] % sections.size()];
  if (!ini.DeleteSection(section)) return "deleting [" + section + "] failed";
  if (!ini.ReadSection(section).empty()) return "[" + section + "] reads after its deletion";
  return CheckOthersUnchanged(ini, before, section, "deleting the section");
}

}  // namespace tarnwick::fuzz
