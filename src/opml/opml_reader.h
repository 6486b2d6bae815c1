#pragma once

#include <string>
#include <vector>

namespace tarnwick::opml {

/// One outline of an OPML document that is a feed, or a leaf that should have been one.
struct OpmlEntry {
  std::string title;   ///< "text", else "title": references decoded, white space runs made one blank
  std::string name;    ///< "title", else "text", alike: what a feed reader shows as the feed's name
  std::string url;     ///< "xmlUrl" without white space around it; empty when the outline has none
  std::string folder;  ///< the title of the nearest enclosing outline that has one; empty at the top
};

/// The outlines of an OPML document in document order, or why the document cannot be read.
struct [[nodiscard]] OpmlReadResult {
  bool ok = false;
  std::string error;  ///< for the user; empty when ok
  std::vector<OpmlEntry> entries;
};

/// Reads an OPML document (1.0, 1.1 or 2.0; any encoding the XML declaration names) from its
/// bytes. Nested outlines are flattened: every outline with an "xmlUrl" and every outline without
/// children becomes an entry; outlines with children give their title to the entries below them.
/// A document that is not well-formed, has no <opml> root or no <body> gives no entries.
OpmlReadResult ReadOpml(std::string bytes);
/// ReadOpml of a file's bytes; a file that cannot be read gives the system's reason.
OpmlReadResult ReadOpmlFile(const std::string& path);

}  // namespace tarnwick::opml
