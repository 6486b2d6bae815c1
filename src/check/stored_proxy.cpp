#include "check/stored_proxy.h"

#include "feed/download_proxy.h"
#include "store/settings_keys.h"

namespace tarnwick::check {

void UseStoredProxy(const store::SettingsStore& settings) {
  feed::UseProxy(feed::ParseProxySetting(settings.ReadText(store::kNetworkSection, store::kProxyKey, "")));
}

}  // namespace tarnwick::check
