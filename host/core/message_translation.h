#pragma once

#include "core/mail_store.h"
#include "core/plugin_set.h"

#include <cstdint>
#include <string>

namespace tarnwick::host {

/// The context bits the host gives a translator that the user applies to a message on request
/// (the Message menu).
inline constexpr int32_t kTranslateOnRequestContext = 0x0004;

/// What came of applying a translator to a message.
struct [[nodiscard]] TranslationOutcome {
  int32_t result = -1;    ///< the plug-in's result code; -1 when the host could not ask it
  bool replaced = false;  ///< the message now holds the translator's output
  std::string errorText;  ///< why the host could not ask the plug-in or keep its output
};

/// Applies translator `translatorId` of `plugin` to a message the way a mail client does on
/// request: the message (header block and unescaped body) goes into a temporary input file, with
/// its header record and its MIME type; ems_can_translate must answer "can translate now"
/// (otherwise its answer is the result); ems_translate_file then writes into an empty temporary
/// output file. On result 0 the output takes the message's place (it keeps its separator line, id
/// and state); on any other result the message stays as it was. The output's MIME record goes back
/// to the plug-in through ems_free; the temporary files are removed. Call on the UI thread.
TranslationOutcome TranslateMessage(MailStore& store, int32_t mailboxId, uint32_t messageId, const LoadedPlugin& plugin,
                                    int32_t translatorId);

}  // namespace tarnwick::host
