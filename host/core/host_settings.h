#pragma once

#include <set>
#include <string>

namespace tarnwick::host {

/// The host's own settings, in "host.ini" in its data folder:
///   [Automation] Enabled=0 switches the automation server off (it is on by default);
///   [LeftOutOfLists] one "relative/path.mbx=1" line per mailbox or folder that plug-ins should not list.
/// Read when the store opens or rescans; written at once when changed.
class HostSettings {
public:
  /// The settings of the data folder `dataFolder`.
  explicit HostSettings(const std::string& dataFolder);

  /// Reads the file again.
  void Reload();
  /// The file's path.
  const std::string& Path() const { return path_; }
  /// False when the file switches automation off.
  bool AutomationEnabled() const { return automationEnabled_; }
  /// True when the mailbox or folder at that relative path is marked to be left out of lists.
  bool IsLeftOut(const std::string& relativePath) const { return leftOut_.count(relativePath) != 0; }
  /// Marks or unmarks a relative path. False when the file cannot be written.
  bool SetLeftOut(const std::string& relativePath, bool leftOut);
  /// Switches automation on or off. False when the file cannot be written.
  bool SetAutomationEnabled(bool enabled);

private:
  std::string path_;
  bool automationEnabled_ = true;
  std::set<std::string> leftOut_;
};

}  // namespace tarnwick::host
