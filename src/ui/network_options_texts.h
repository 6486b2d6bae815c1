#pragma once

namespace tarnwick::ui {

inline constexpr char kNetworkOptionsTitle[] = "Network Options";
inline constexpr char kNetworkOptionsIntro[] = "How Tarnwick reaches the web when it downloads feeds and pages:";
inline constexpr char kProxyFromEnvironmentText[] = "Use the system's proxy settings";
inline constexpr char kNoProxyText[] = "Connect directly, without a proxy";
inline constexpr char kGivenProxyText[] = "Use this proxy:";
inline constexpr char kProxyAddressHint[] = "http://proxy.example:3128";
inline constexpr char kProxyAddressMissingText[] = "Type the proxy's address, such as http://proxy.example:3128.";
inline constexpr char kNetworkOptionsNotStoredText[] =
    "The network options could not be written to the settings file; nothing was changed.";

}  // namespace tarnwick::ui
