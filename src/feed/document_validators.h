#pragma once

#include <string>
#include <vector>

#include "store/settings_store.h"

namespace tarnwick::feed {

/// What a server said identifies the version of a document it sent: its "ETag" (quotes and a
/// weak "W/" prefix kept as sent) and its "Last-Modified" date text. Sent back with the next
/// request for the same document, they let the server answer "not modified" instead of the
/// whole document. Either may be empty.
struct DocumentValidators {
  std::string entityTag;
  std::string lastModified;

  bool Empty() const { return entityTag.empty() && lastModified.empty(); }
  bool operator==(const DocumentValidators&) const = default;
};

/// The validators of the document last delivered for the feed `alias`; empty when none are kept.
DocumentValidators ReadFeedValidators(const store::SettingsStore& settings, const std::string& alias);
/// The changes that keep `validators` in the feed's section (an empty one removed); none for what
/// the section holds already.
std::vector<platform::IniChange> FeedValidatorChanges(const store::SettingsStore& settings, const std::string& alias,
                                                      const DocumentValidators& validators);

/// The file beside a downloaded document that holds the validators it came with.
std::string ValidatorsFilePath(const std::string& documentPath);
/// Writes `validators` beside the document (or removes that file when they are empty); false
/// when it could not be written.
bool SaveValidatorsBeside(const std::string& documentPath, const DocumentValidators& validators);
/// The validators kept beside the document; empty when there is no such file.
DocumentValidators ReadValidatorsBeside(const std::string& documentPath);

}  // namespace tarnwick::feed
