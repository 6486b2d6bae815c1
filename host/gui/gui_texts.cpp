#include "gui/gui_texts.h"

#include "platform/ems_records.h"

namespace tarnwick::host::gui {
namespace {

// What a translator's result code means, for the status bar.
std::string ResultMeaning(int32_t result) {
  switch (result) {
    case platform::kEmsNoEntry:
      return "there is nothing to translate in this message";
    case platform::kEmsCannotTranslateThis:
      return "it cannot translate this message";
    case platform::kEmsOutOfRange:
      return "the plug-in does not know this entry";
    case platform::kEmsOutputNotOpened:
      return "it could not write its output";
    case platform::kEmsHostCannotServe:
      return "the plug-in cannot work with this host";
    case platform::kEmsPageNotDownloaded:
      return "the page could not be downloaded";
    default:
      return "it failed";
  }
}

}  // namespace

std::string MailboxTreeLabel(const std::string& name, size_t unread, size_t total) {
  return name + " (" + std::to_string(unread) + "/" + std::to_string(total) + ")";
}

std::string SpecialResultText(const std::string& entry, int32_t result) {
  if (result == platform::kEmsSuccess) return {};
  return entry + ": " + ResultMeaning(result) + " (result " + std::to_string(result) + ").";
}

std::string TranslationStatusText(const std::string& translator, int32_t result, bool replaced,
                                  const std::string& errorText) {
  if (!errorText.empty()) return translator + ": " + errorText;
  if (replaced) return translator + ": the message was replaced by the translation.";
  if (result == platform::kEmsOpenedInViewer) return {};
  return translator + ": " + ResultMeaning(result) + " (result " + std::to_string(result) + ").";
}

}  // namespace tarnwick::host::gui
