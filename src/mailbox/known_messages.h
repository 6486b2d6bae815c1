#pragma once

#include "feed/known_ids.h"
#include "mailbox/newsbox_stamp.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tarnwick::mailbox {

/// What Tarnwick knows of the messages of one newsbox: their message identifiers, the link of each
/// where it was read (all of them when linksRead), and the stamp of the newsbox's files they were read (or delivered)
/// at. While the files keep that stamp, the newsbox holds exactly these messages.
struct KnownMessages {
  NewsboxStamp stamp;
  feed::KnownIds ids;  // every message's identifier, as the host gives it ("" for one without)
  bool linksRead = false;
  std::unordered_map<std::string, std::string> linksById;  // each identified message's link, where read
  std::vector<std::string> linksWithoutId;                 // when linksRead: those of messages without one
  // The links as the file holds them ("identifier TAB link" lines), until ReadLinks takes them in:
  // a check that needs no link does not pay for reading them.
  std::string unreadLinks;
  size_t unreadLinkCount = 0;

  /// Takes the links still unread into linksById and linksWithoutId; call before using those.
  void ReadLinks();
  /// How many identifiers and links it holds, to bound what is kept.
  size_t Size() const { return ids.size() + linksById.size() + linksWithoutId.size() + unreadLinkCount; }
};

/// Reads the known messages of the newsbox whose mailbox file is `newsboxPath` from the file at
/// `path`. Nullopt when the file is missing, unreadable, cut short, of another newsbox or not of
/// this program's making: it is then of no use, never a reason to trust it.
std::optional<KnownMessages> ReadKnownMessagesFile(const std::string& path, const std::string& newsboxPath);

/// Writes them to the file at `path` through a temporary file and a rename, so a reader finds the
/// old file or the new one whole. False when it could not be written (or an identifier or link holds
/// a line break, which the file cannot keep); the old file is then removed.
bool WriteKnownMessagesFile(const std::string& path, const std::string& newsboxPath, const KnownMessages& known);

}  // namespace tarnwick::mailbox
