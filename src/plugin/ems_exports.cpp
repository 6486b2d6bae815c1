// The functions the host calls. Each runs on the host's thread; no exception may leave them.
#include "feed/download_connections.h"
#include "platform/ems_records.h"
#include "plugin/background_fetching.h"
#include "plugin/export_guard.h"
#include "plugin/feed_table.h"
#include "plugin/headless_add_feed.h"
#include "plugin/headless_remove_feed.h"
#include "plugin/headless_runs.h"
#include "plugin/host_memory.h"
#include "plugin/module_toolkit.h"
#include "plugin/plugin_context.h"
#include "plugin/plugin_names.h"
#include "plugin/startup.h"
#include "plugin/translator_info.h"
#include "plugin/window_seams.h"
#include "store/file_utilities.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace tarnwick;
using platform::EmsResult;
using plugin::Guarded;

}  // namespace

TARNWICK_EXPORT int32_t ems_plugin_version(int16_t* version) {
  if (version != nullptr) *version = platform::kEmsInterfaceVersion;
  return platform::kEmsSuccess;
}

TARNWICK_EXPORT int32_t ems_plugin_init(void** /*globals*/, int16_t hostVersion, EmsMailConfig* config,
                                        EmsPluginInfo* info) {
  return Guarded(__func__, platform::kEmsSuccess, [&] {
    if (info == nullptr) return platform::kEmsSuccess;
    plugin::RestartModuleToolkit();  // after a finish without an unload
    info->numTranslators = 1;
    info->numAttachers = 0;
    info->numSpecials = 1;
    std::string configFolder = config != nullptr && config->configDirectory != nullptr ? config->configDirectory : "";
    std::string description =
        plugin::FillContext(plugin::Context(), hostVersion, configFolder, store::HostExecutablePath());
    info->description = plugin::HeapCopy(description);
    info->icon = plugin::IconBlock(plugin::kPluginIconResource);
    info->id = plugin::kPluginId;
    plugin::StartBackgroundFetching(plugin::Context());
    plugin::InstallWindows(plugin::Context());  // a host with windows gets the Newsboard, hidden
    return platform::kEmsSuccess;
  });
}

TARNWICK_EXPORT int32_t ems_plugin_finish(void* /*globals*/) {
  return Guarded(__func__, platform::kEmsSuccess, [] {
    plugin::StopBackgroundFetching(plugin::Context());
    feed::CloseSharedConnections();
    plugin::EndModuleToolkit();  // not at unload, under the system's loader lock
    return platform::kEmsSuccess;
  });
}

TARNWICK_EXPORT int32_t ems_plugin_config(void* /*globals*/, EmsMailConfig* /*config*/) {
  return Guarded(__func__, platform::kEmsSuccess, [] {
    plugin::InstallWindows(plugin::Context());  // for a host whose windows came up after the init
    plugin::ShowAboutBox(plugin::Context());
    return platform::kEmsSuccess;
  });
}

TARNWICK_EXPORT int32_t ems_free(void* memory) {
  plugin::FreeHostMemory(memory);
  return platform::kEmsSuccess;
}

TARNWICK_EXPORT int32_t ems_special_info(void* /*globals*/, EmsMenu* menu) {
  return Guarded(__func__, platform::kEmsOutOfRange, [&] {
    if (menu == nullptr) return platform::kEmsNoEntry;
    if (menu->id != 1) return platform::kEmsOutOfRange;
    menu->name = plugin::HeapCopy(plugin::kSpecialMenuName);
    if (plugin::Context().hostApiVersion > 3) {
      menu->flags = plugin::kSpecialMenuFlags;
      menu->icon = plugin::IconBlock(plugin::kPluginIconResource);
    }
    return platform::kEmsSuccess;
  });
}

TARNWICK_EXPORT int32_t ems_translator_info(void* /*globals*/, EmsTranslator* translator) {
  return Guarded(__func__, platform::kEmsOutOfRange, [&] { return plugin::DescribeTranslator(translator); });
}

TARNWICK_EXPORT int32_t ems_can_translate(void* /*globals*/, EmsTranslator* translator, EmsDataFile* file,
                                          void* /*reserved*/) {
  return Guarded(__func__, platform::kEmsCannotTranslateThis, [&] { return plugin::CanTranslate(translator, file); });
}

TARNWICK_EXPORT int32_t tarnwick_OpenNewsboard(int32_t /*first*/, int32_t /*second*/, const char* text,
                                               int32_t /*fourth*/) {
  // Kept for hosts that call it: it takes a copy of the text and has no other effect.
  std::string copy = text != nullptr ? text : "";
  return static_cast<int32_t>(copy.size());
}

// Headless runs for the host's command line: a check of the named feeds (all when `count` is 0),
// and a background tick followed by the check of the cache. The result is the exit status. A quiet
// check prints only its failed feeds, on standard error, and the count of new articles.
TARNWICK_EXPORT int32_t tarnwick_CheckFeeds(const char* const* aliases, int32_t count, int32_t quiet) {
  return Guarded(__func__, plugin::kRunNotPossible, [&] {
    std::vector<std::string> names;
    for (int32_t i = 0; aliases != nullptr && i < count; ++i)
      names.emplace_back(aliases[i] != nullptr ? aliases[i] : "");
    const plugin::CheckOutput output{stdout, quiet != 0 ? stderr : stdout, quiet != 0};
    return plugin::RunChecksHeadless(plugin::Context(), names, output);
  });
}

// Adds a feed for the host's command line ("add"); an empty `newsbox` is the alias, and
// `firstCheckArticles` 0 means all. The result is the exit status.
TARNWICK_EXPORT int32_t tarnwick_AddFeed(const char* alias, const char* url, const char* newsbox,
                                         int32_t firstCheckArticles) {
  return Guarded(__func__, plugin::kRunNotPossible, [&] {
    plugin::NewFeed feed{alias != nullptr ? alias : "", url != nullptr ? url : "", newsbox != nullptr ? newsbox : "",
                         firstCheckArticles};
    return plugin::AddFeedHeadless(plugin::Context(), feed, stdout);
  });
}

// Removes a feed for the host's command line ("remove"). The result is the exit status.
TARNWICK_EXPORT int32_t tarnwick_RemoveFeed(const char* alias) {
  return Guarded(__func__, plugin::kRunNotPossible,
                 [&] { return plugin::RemoveFeedHeadless(plugin::Context(), alias != nullptr ? alias : "", stdout); });
}

// Lists the feeds for the host's command line ("feeds"). The result is the exit status.
TARNWICK_EXPORT int32_t tarnwick_ListFeeds(void) {
  return Guarded(__func__, plugin::kRunNotPossible,
                 [] { return plugin::ListFeedsHeadless(plugin::Context(), stdout); });
}

TARNWICK_EXPORT int32_t tarnwick_BackgroundTick(void) {
  return Guarded(__func__, plugin::kRunNotPossible, [] { return plugin::RunTickHeadless(plugin::Context(), stdout); });
}
