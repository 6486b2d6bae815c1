#pragma once

#include "store/feed_settings.h"
#include "store/settings_store.h"

#include <vector>

namespace tarnwick::store {

/// The feeds the settings file lists, as the main window lists them, in the file's order.
std::vector<FeedSettings> ListedFeeds(const SettingsStore& settings);

}  // namespace tarnwick::store
