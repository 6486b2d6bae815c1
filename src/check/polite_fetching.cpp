#include "check/polite_fetching.h"

#include "check/check_texts.h"
#include "platform/date_format.h"
#include "platform/date_parser.h"
#include "store/settings_keys.h"

namespace tarnwick::check {
namespace {

void DeleteIfPresent(const store::SettingsStore& settings, const std::string& alias, const char* key) {
  if (!settings.ReadText(alias, key, "").empty()) (void)settings.DeleteKey(alias, key);
}

void WriteIfChanged(const store::SettingsStore& settings, const std::string& alias, const char* key,
                    const std::string& value) {
  if (settings.ReadText(alias, key, "") != value) (void)settings.WriteText(alias, key, value);
}

std::string MovedNoteFor(const std::string& address) {
  return kMovedToPrefix + address + kMovedToSuffix;
}

}  // namespace

AnswerEffect RecordServerAnswer(const store::SettingsStore& settings, const std::string& alias,
                                const feed::ServerAnswer& answer, bool fetched, const platform::Clock& clock) {
  AnswerEffect effect;
  if (answer.Gone()) {
    WriteIfChanged(settings, alias, store::kGoneKey, "1");
    effect.problem = kFeedGone;
    return effect;
  }
  if (answer.AsksToWait()) {
    // A "Retry-After" that names no time is no request this program can follow.
    if (const std::optional<platform::DateTime> until = feed::RetryAfterTime(answer.retryAfter, clock)) {
      const std::string untilText = platform::FormatLocaleDate(*until);
      WriteIfChanged(settings, alias, store::kRetryAfterKey, untilText);
      effect.problem = kServerAskedToWaitPrefix + untilText;
    }
    return effect;
  }
  if (!fetched) return effect;
  DeleteIfPresent(settings, alias, store::kGoneKey);
  DeleteIfPresent(settings, alias, store::kRetryAfterKey);
  if (answer.movedTo.empty()) {
    DeleteIfPresent(settings, alias, store::kMovedToKey);
  } else {
    WriteIfChanged(settings, alias, store::kMovedToKey, answer.movedTo);
    effect.note = MovedNoteFor(answer.movedTo);
  }
  return effect;
}

std::string MovedNote(const store::SettingsStore& settings, const std::string& alias) {
  const std::string address = settings.ReadText(alias, store::kMovedToKey, "");
  return address.empty() ? std::string() : MovedNoteFor(address);
}

std::string BackgroundHold(const store::SettingsStore& settings, const std::string& alias,
                           const platform::DateTime& now) {
  if (settings.ReadInt(alias, store::kGoneKey, 0) != 0) return kSkippedGone;
  const std::optional<platform::DateTime> until =
      platform::ParseDate(settings.ReadText(alias, store::kRetryAfterKey, ""));
  if (until && *until > now) return kSkippedWaitingPrefix + platform::FormatLocaleDate(*until) + kSkippedWaitingSuffix;
  return {};
}

}  // namespace tarnwick::check
