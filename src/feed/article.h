#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::feed {

/// One item of a feed document as thirteen texts; every field starts empty for each item.
struct Article {
  std::string title;            // message subject
  std::string link;             // the item's web page; the message identifier when there is no guid
  std::string body;             // RSS description or Atom content
  std::string author;           // "From: " line; the feed's name when the item has none
  std::string date;             // as the feed wrote it (Atom dates in display form); "Date: " line
  std::string guid;             // RSS guid or Atom id: the message identifier
  std::string enclosureUrl;     // "Enclosed: " line
  std::string enclosureLength;  // carried only
  std::string enclosureType;    // carried only
  std::string summary;          // carried only
  std::string category;         // "Category: " line when not empty
  std::string comments;         // "Website-Comments: " line when not empty
  std::string source;           // "Source: " line when not empty

  bool operator==(const Article&) const = default;
};

/// The host name in every message identifier: a fixed placeholder that names no real machine.
inline constexpr char kMessageIdHostName[] = "tarnwick.invalid";

/// The message identifier of an item whose guid (or, without one, link) is `key`:
/// "<" + key + "@" + kMessageIdHostName + ">", with every CR and LF of the key turned into a blank,
/// so that the identifier is exactly what a message header can carry and the host reads back.
std::string MessageIdFor(std::string_view key);

/// The article's message identifier, from its guid or else its link. An item with neither is
/// known by its content: the SHA-1 of the feed's URL, the item's title and its body, as 40
/// hexadecimal digits in the same "<...@host>" form, so it is the same on every check. Empty only
/// when title and body are empty as well.
std::string MessageIdOf(const Article& article, std::string_view feedUrl);

}  // namespace tarnwick::feed
