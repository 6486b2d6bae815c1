#pragma once

#include <string>
#include <string_view>

namespace tarnwick::feed {

/// How every download reaches the web: through the proxy the environment names (http_proxy,
/// https_proxy, no_proxy: the system's setting), straight to the server, or through a given proxy.
struct ProxySetting {
  enum class Kind { kEnvironment, kNone, kGiven };
  Kind kind = Kind::kEnvironment;
  std::string url;  // the proxy of kGiven, as "http://host:port" or "socks5://host:port"

  bool operator==(const ProxySetting&) const = default;
};

/// The setting a stored text names: "" or "environment" the environment's, "none" none (both in
/// any letter case), anything else the proxy of that address.
ProxySetting ParseProxySetting(std::string_view text);
/// The stored text of a setting, which ParseProxySetting reads back as the same setting.
std::string ProxySettingText(const ProxySetting& setting);

/// Makes `setting` the one every download started from now on uses, on any thread.
void UseProxy(const ProxySetting& setting);
/// The setting downloads use now; the environment's until UseProxy is called.
ProxySetting CurrentProxy();

}  // namespace tarnwick::feed
