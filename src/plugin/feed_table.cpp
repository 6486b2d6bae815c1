#include "plugin/feed_table.h"

#include "check/check_status.h"
#include "check/feed_health.h"
#include "platform/clock.h"
#include "platform/text.h"
#include "plugin/headless_runs.h"
#include "plugin/headless_texts.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"

#include <algorithm>

namespace tarnwick::plugin {
namespace {

size_t CharacterCount(const std::string& text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// A failing or quiet feed says so where the problem of its last check stands.
std::vector<std::string> FeedRow(const store::SettingsStore& settings, const store::FeedSettings& feed,
                                 const platform::DateTime& now) {
  const check::CheckStatus status = check::ReadCheckStatus(settings, feed.alias);
  std::string health = check::HealthNote(check::ReadFeedState(settings, feed.alias), now);
  return {feed.alias, feed.newsbox, settings.ReadText(feed.alias, store::kLastArticleKey, ""), status.checkedAt,
          health.empty() ? status.problem : std::move(health)};
}

}  // namespace

std::string FormatColumns(const std::vector<std::vector<std::string>>& rows) {
  if (rows.empty()) return {};
  std::vector<size_t> widths(rows.front().size(), CharacterCount(kEmptyField));
  for (const auto& row : rows) {
    for (size_t column = 0; column < widths.size(); ++column) {
      widths[column] = std::max(widths[column], CharacterCount(row[column]));
    }
  }
  std::string table;
  for (const auto& row : rows) {
    for (size_t column = 0; column < widths.size(); ++column) {
      const std::string& cell = row[column].empty() ? std::string(kEmptyField) : row[column];
      table += cell;
      if (column + 1 < widths.size()) table += std::string(widths[column] - CharacterCount(cell) + 2, ' ');
    }
    table += '\n';
  }
  return table;
}

int ListFeedsHeadless(PluginContext& context, std::FILE* out) {
  if (context.settingsPath.empty()) {
    std::fprintf(out, "%s\n", kNotSetUpText);
    return kRunNotPossible;
  }
  const std::vector<store::FeedSettings> feeds = ListedFeeds(context.settingsPath);
  if (feeds.empty()) {
    std::fprintf(out, "%s\n", platform::FillText(kNoFeedsText, {context.settingsPath}).c_str());
    return kRunAllChecked;
  }
  const store::SettingsStore settings(context.settingsPath);
  std::vector<std::vector<std::string>> rows{
      {kAliasColumn, kNewsboxColumn, kLastArticleColumn, kLastCheckColumn, kLastProblemColumn}};
  const platform::DateTime now = platform::SystemClock().Now();
  for (const store::FeedSettings& feed : feeds) rows.push_back(FeedRow(settings, feed, now));
  std::fputs(FormatColumns(rows).c_str(), out);
  std::fflush(out);
  return kRunAllChecked;
}

}  // namespace tarnwick::plugin
