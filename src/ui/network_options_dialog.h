#pragma once

#include <string>

class wxWindow;

namespace tarnwick::ui {

/// Control ids of the Network Options dialog, for its tests.
enum NetworkOptionsControl {
  kProxyFromEnvironmentId = 1301,
  kNoProxyId = 1302,
  kGivenProxyId = 1303,
  kProxyAddressId = 1304,
};

/// Shows the Network Options dialog modally over `parent`: how downloads reach the web (the
/// system's proxy, none, or a given one). OK stores the choice in the settings file at
/// `settingsPath` and makes every download from then on use it; Cancel changes nothing. True when
/// the choice was stored. Call on the UI thread.
bool ShowNetworkOptions(wxWindow* parent, const std::string& settingsPath);

}  // namespace tarnwick::ui
