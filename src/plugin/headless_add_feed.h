#pragma once

#include "plugin/plugin_context.h"

#include <cstdio>
#include <string>

namespace tarnwick::plugin {

/// A feed to add from the command line.
struct NewFeed {
  std::string alias;
  std::string url;
  std::string newsbox;         // empty: the alias; the host adds the mailbox when it has none of that name
  int firstCheckArticles = 0;  // how many of the newest items its first check delivers; 0: all
};

/// Adds the feed to the settings file as Feed Properties adds a new one (only new articles, no
/// full articles, no background checks), its name the title of the feed document at its URL,
/// reporting on `out`. A URL that is a web page linking to one feed adds that feed. kRunAllChecked
/// when it was added; kRunRefused (with the reason, nothing written or created) when the alias is
/// taken or cannot be stored, the URL is empty, cannot be downloaded or gives no feed, is a page
/// that links to several feeds (they are listed), the newsbox is the host's "Pending" or "Out",
/// or the host gives no newsbox; kRunNotPossible when the module is not set up. Its downloads run
/// within the limits of every download (a check's).
int AddFeedHeadless(PluginContext& context, const NewFeed& feed, std::FILE* out);

}  // namespace tarnwick::plugin
