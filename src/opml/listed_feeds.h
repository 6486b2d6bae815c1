#pragma once

#include "store/feed_settings.h"
#include "store/settings_store.h"

#include <vector>

namespace tarnwick::opml {

/// The feeds the settings file lists, as the main window lists them, in the file's order.
std::vector<store::FeedSettings> ListedFeeds(const store::SettingsStore& settings);

}  // namespace tarnwick::opml
