#pragma once

#include "store/feed_settings.h"
#include "store/settings_store.h"

#include <string>
#include <vector>

namespace tarnwick::opml {

/// An OPML 2.0 document (UTF-8) of the feeds: one folder outline per newsbox, in the order the
/// newsboxes first appear, holding an outline per feed with its alias as "text", its name as
/// "title", type "rss", its URL as "xmlUrl" and its newsbox as "category". Values are escaped
/// for XML; control characters that XML cannot hold are left out.
std::string WriteOpml(const std::vector<store::FeedSettings>& feeds);

/// Writes WriteOpml of the listed feeds to `path`, replacing the file. Empty when written;
/// otherwise why not, for the user.
[[nodiscard]] std::string ExportOpmlFile(const store::SettingsStore& settings, const std::string& path);

}  // namespace tarnwick::opml
