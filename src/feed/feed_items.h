#pragma once

#include "feed/article.h"
#include "feed/xml_document.h"
#include "platform/clock.h"

#include <functional>

namespace tarnwick::feed {

/// The vocabulary a feed document speaks.
enum class FeedFormat { kRss, kAtom };

/// The root element decides first: "feed" or "entry" (bare or in an Atom namespace) is Atom;
/// "rss", "item" (bare or in the RSS 1.0 namespace) or an "RDF" root in the RDF namespace is RSS.
/// Any other root: Atom when an element named "id" (any letter case, no prefix) comes before any
/// named "guid" in document order below the root; RSS otherwise. The cursor is left untouched.
FeedFormat DetectFeedFormat(const XmlDocument& document);

/// The item with the document's current element as the item: title, body, enclosure, link,
/// summary, author, date (Atom dates in display form), identifier, and the RSS category, comments
/// and source texts (Atom: the first category's term). Leaves the child position cleared.
Article ReadItem(XmlDocument& document, FeedFormat format, const platform::Clock& clock);

/// Visits every element below the root in document order; for each item element of the format
/// (named "item" or "entry" in any letter case, bare or with a prefix bound to the RSS 1.0 or
/// Atom namespace) calls `deliver` with the document's current element on the item. A root that
/// is itself an item is delivered first. `afterElement` runs after every element visited below
/// the root, item or not (the check paces itself there). Returns the number of items.
int WalkItems(XmlDocument& document, FeedFormat format, const std::function<void()>& deliver,
              const std::function<void()>& afterElement);

}  // namespace tarnwick::feed
