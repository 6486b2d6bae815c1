#pragma once

#include "plugin/plugin_context.h"

#include <cstdio>
#include <string>

namespace tarnwick::plugin {

/// A feed to add from the command line.
struct NewFeed {
  std::string alias;  // also its name
  std::string url;
  std::string newsbox;         // the host adds the mailbox when it has none of that name
  int firstCheckArticles = 0;  // how many of the newest items its first check delivers; 0: all
};

/// Adds the feed to the settings file with the defaults a new feed gets (only new articles, no
/// full articles, no background checks), reporting on `out`. kRunAllChecked when it was added;
/// kRunNotPossible (with the reason) when the module is not set up, the alias is taken or cannot
/// be stored, the URL is empty, or the host gives no newsbox.
int AddFeedHeadless(PluginContext& context, const NewFeed& feed, std::FILE* out);

}  // namespace tarnwick::plugin
