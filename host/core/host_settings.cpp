#include "core/host_settings.h"

#include "core/host_texts.h"
#include "platform/ini_file.h"
#include "platform/text.h"

namespace tarnwick::host {
namespace {

constexpr char kAutomationSection[] = "Automation";
constexpr char kEnabledKey[] = "Enabled";
constexpr char kLeftOutSection[] = "LeftOutOfLists";

bool IsOn(const std::string& value) {
  std::string trimmed = platform::TrimBlanks(value);
  return !(trimmed == "0" || platform::EqualsIgnoreCase(trimmed, "no") || platform::EqualsIgnoreCase(trimmed, "off") ||
           platform::EqualsIgnoreCase(trimmed, "false"));
}

}  // namespace

HostSettings::HostSettings(const std::string& dataFolder) : path_(dataFolder + "/" + kHostSettingsFileName) {
  Reload();
}

void HostSettings::Reload() {
  platform::IniFile file(path_);
  automationEnabled_ = IsOn(file.Read(kAutomationSection, kEnabledKey).value_or("1"));
  leftOut_.clear();
  for (const std::string& line : file.ReadSection(kLeftOutSection)) {
    std::string::size_type equals = line.rfind('=');
    if (equals == std::string::npos) continue;
    if (IsOn(line.substr(equals + 1))) leftOut_.insert(line.substr(0, equals));
  }
}

bool HostSettings::SetLeftOut(const std::string& relativePath, bool leftOut) {
  platform::IniFile file(path_);
  bool written =
      leftOut ? file.Write(kLeftOutSection, relativePath, "1") : file.DeleteKey(kLeftOutSection, relativePath);
  if (!written) return false;
  if (leftOut) {
    leftOut_.insert(relativePath);
  } else {
    leftOut_.erase(relativePath);
  }
  return true;
}

bool HostSettings::SetAutomationEnabled(bool enabled) {
  if (!platform::IniFile(path_).Write(kAutomationSection, kEnabledKey, enabled ? "1" : "0")) return false;
  automationEnabled_ = enabled;
  return true;
}

}  // namespace tarnwick::host
