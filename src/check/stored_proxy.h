#pragma once

#include "store/settings_store.h"

namespace tarnwick::check {

/// Makes the proxy setting of the settings file ("Proxy" of "Network") the one downloads use from
/// now on. Called when the module starts, when its windows open and at every tick of background
/// fetching, so a choice stored by the windows reaches every download within a minute.
void UseStoredProxy(const store::SettingsStore& settings);

}  // namespace tarnwick::check
