#include "feed/feed_items.h"

#include "feed/feed_date.h"
#include "platform/text.h"

namespace tarnwick::feed {
namespace {

struct Vocabulary {
  const char* item;
  const char* body;
  const char* date;
  const char* identifier;
};

constexpr Vocabulary kRssNames{"item", "description", "pubDate", "guid"};
constexpr Vocabulary kAtomNames{"entry", "content", "issued", "id"};

const Vocabulary& NamesOf(FeedFormat format) {
  return format == FeedFormat::kAtom ? kAtomNames : kRssNames;
}

// Puts the child position on the next element in document order after the current one: its
// first child, or else the next sibling of it or of the nearest ancestor that has one. False at
// the end of the root's descendants.
bool AdvanceChildPosition(XmlDocument& document) {
  if (document.FindChildElement()) return true;
  while (document.LeaveElement()) {
    if (document.FindChildElement()) return true;
  }
  return false;
}

// The child position on the first child of that name; false when there is none.
bool FindFirstChild(XmlDocument& document, const char* name) {
  document.RestartChildSearch();
  return document.FindChildElement(name);
}

// The text of the first child of that name; empty when there is none.
std::string FirstChildText(XmlDocument& document, const char* name) {
  return FindFirstChild(document, name) ? document.ChildText() : std::string();
}

// The element's text, or its raw markup when the text is empty (XHTML content).
std::string TextOrMarkup(const XmlDocument& document) {
  std::string text = document.ElementText();
  return text.empty() ? document.ElementMarkup() : text;
}

std::string AtomAuthor(XmlDocument& document) {
  std::string author = FirstChildText(document, "name");
  if (FindFirstChild(document, "email")) {
    if (!author.empty()) author += " ";
    author += "<" + document.ChildText() + ">";
  }
  return author;
}

void ReadBody(XmlDocument& document, FeedFormat format, Article& article) {
  if (!FindFirstChild(document, NamesOf(format).body) || !document.EnterElement()) return;
  if (format == FeedFormat::kAtom) {
    std::string source = document.AttributeValue("src");
    if (!source.empty()) article.link = source;
    article.body = TextOrMarkup(document);
  } else {
    article.body = document.ElementText();
  }
  document.LeaveElement();
}

void ReadAuthor(XmlDocument& document, FeedFormat format, Article& article) {
  if (!FindFirstChild(document, "author") || !document.EnterElement()) return;
  article.author = format == FeedFormat::kAtom ? AtomAuthor(document) : document.ElementText();
  document.LeaveElement();
}

void ReadSummary(XmlDocument& document, Article& article) {
  if (!FindFirstChild(document, "summary") || !document.EnterElement()) return;
  article.summary = TextOrMarkup(document);
  document.LeaveElement();
}

// Category, comments and source: RSS carries them as texts, Atom its category as a term.
void ReadExtras(XmlDocument& document, FeedFormat format, Article& article) {
  if (format == FeedFormat::kAtom) {
    if (FindFirstChild(document, "category")) article.category = document.ChildAttributeValue("term");
    return;
  }
  article.category = FirstChildText(document, "category");
  article.comments = FirstChildText(document, "comments");
  article.source = FirstChildText(document, "source");
}

// The entry's page: the href of its first link with rel "alternate" or without rel. Links to
// replies, edits, the feed itself and the like are not the page; without an alternate link the
// link taken from the content's src stays.
void ReadAtomLink(XmlDocument& document, Article& article) {
  document.RestartChildSearch();
  while (document.FindChildElement("link")) {
    const std::string rel = document.ChildAttributeValue("rel");
    if (rel.empty() || rel == "alternate") {
      article.link = document.ChildAttributeValue("href");
      return;
    }
  }
}

// The entry's date: "issued" (Atom 0.3), else "published", else "updated" (Atom 1.0). Only the
// entry's own children count, never the feed's "updated".
void ReadAtomDate(XmlDocument& document, Article& article, const platform::Clock& clock) {
  for (const char* name : {"issued", "published", "updated"}) {
    if (FindFirstChild(document, name)) {
      article.date = AtomItemDate(document.ChildText(), clock);
      return;
    }
  }
}

}  // namespace

FeedFormat DetectFeedFormat(const XmlDocument& document) {
  // Elements are numbered in document order, so the root's descendants are the indexes after it
  // up to its next sibling: a pre-order walk without moving the cursor.
  const ElementTable& elements = document.Elements();
  const uint32_t root = elements[0].firstChild;
  if (root == 0) return FeedFormat::kRss;
  const uint32_t end = elements[root].nextSibling != 0 ? elements[root].nextSibling : elements.Count();
  for (uint32_t index = root + 1; index < end; ++index) {
    const std::string_view name = document.ElementName(index);
    if (platform::EqualsIgnoreCase(name, "guid")) return FeedFormat::kRss;
    if (platform::EqualsIgnoreCase(name, "id")) return FeedFormat::kAtom;
  }
  return FeedFormat::kRss;
}

Article ReadItem(XmlDocument& document, FeedFormat format, const platform::Clock& clock) {
  const Vocabulary& names = NamesOf(format);
  Article article;
  if (FindFirstChild(document, "title")) article.title = document.ChildText();
  ReadBody(document, format, article);
  if (FindFirstChild(document, "enclosure")) {
    article.enclosureUrl = document.ChildAttributeValue("url");
    article.enclosureLength = document.ChildAttributeValue("length");
    article.enclosureType = document.ChildAttributeValue("type");
  }
  if (format == FeedFormat::kAtom) {
    ReadAtomLink(document, article);
  } else if (FindFirstChild(document, "link")) {
    article.link = document.ChildText();
  }
  ReadSummary(document, article);
  ReadAuthor(document, format, article);
  if (format == FeedFormat::kAtom) {
    ReadAtomDate(document, article, clock);
  } else if (FindFirstChild(document, names.date)) {
    article.date = CollapseWhiteSpace(document.ChildText());  // a pretty-printed date is one line
  }
  article.guid = FirstChildText(document, names.identifier);
  ReadExtras(document, format, article);
  document.RestartChildSearch();
  return article;
}

int WalkItems(XmlDocument& document, FeedFormat format, const std::function<void()>& deliver,
              const std::function<void()>& afterElement) {
  const char* itemName = NamesOf(format).item;
  int items = 0;
  if (!document.FindChildElement()) return 0;
  do {
    document.EnterElement();
    if (platform::EqualsIgnoreCase(document.TagName(), itemName)) {
      ++items;
      deliver();
    }
    afterElement();
  } while (AdvanceChildPosition(document));
  return items;
}

}  // namespace tarnwick::feed
