#include "feed/feed_items.h"

#include "feed/feed_date.h"
#include "platform/text.h"

#include <optional>

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

constexpr std::string_view kRdfNamespace = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
constexpr std::string_view kRss10Namespace = "http://purl.org/rss/1.0/";
constexpr std::string_view kAtom10Namespace = "http://www.w3.org/2005/Atom";
constexpr std::string_view kAtom03Namespace = "http://purl.org/atom/ns#";

bool IsAtomNamespace(std::string_view name) {
  return name == kAtom10Namespace || name == kAtom03Namespace;
}

// An element's name split at its first colon; the prefix is empty when there is none.
struct QualifiedName {
  std::string_view prefix;
  std::string_view local;
};

QualifiedName SplitName(std::string_view name) {
  const size_t colon = name.find(':');
  if (colon == std::string_view::npos) return {{}, name};
  return {name.substr(0, colon), name.substr(colon + 1)};
}

// The namespace the prefix (empty: the default namespace) stands for at the element: the nearest
// declaration on it or an ancestor; empty when none is in scope.
std::string NamespaceAt(const XmlDocument& document, uint32_t element, std::string_view prefix) {
  const std::string attribute = prefix.empty() ? std::string("xmlns") : "xmlns:" + std::string(prefix);
  for (uint32_t index = element; index != 0; index = document.Elements()[index].parent) {
    std::string uri = document.AttributeValueAt(index, attribute);
    if (!uri.empty()) return uri;
  }
  return {};
}

// A prefixed name counts when its prefix is bound to the vocabulary's namespace: RSS 1.0 for
// RSS, Atom 0.3 or 1.0 for Atom.
bool PrefixBelongsTo(const XmlDocument& document, uint32_t element, std::string_view prefix, FeedFormat format) {
  const std::string uri = NamespaceAt(document, element, prefix);
  return format == FeedFormat::kAtom ? IsAtomNamespace(uri) : uri == kRss10Namespace;
}

// True when the element is an item of the format: named "item" or "entry" in any letter case,
// bare or with a prefix bound to the format's namespace.
bool IsItemElement(const XmlDocument& document, uint32_t element, FeedFormat format) {
  const QualifiedName name = SplitName(document.ElementName(element));
  if (!platform::EqualsIgnoreCase(name.local, NamesOf(format).item)) return false;
  return name.prefix.empty() || PrefixBelongsTo(document, element, name.prefix, format);
}

// What the root element says about the document: "feed" or a lone "entry" is Atom; "rss",
// "rdf:RDF" (whatever its prefix, bound to the RDF namespace) or a lone "item" is RSS.
std::optional<FeedFormat> FormatOfRoot(const XmlDocument& document, uint32_t root) {
  const QualifiedName name = SplitName(document.ElementName(root));
  if (platform::EqualsIgnoreCase(name.local, "RDF")) {
    if (NamespaceAt(document, root, name.prefix) == kRdfNamespace) return FeedFormat::kRss;
    return std::nullopt;
  }
  for (FeedFormat format : {FeedFormat::kAtom, FeedFormat::kRss}) {
    const bool named = platform::EqualsIgnoreCase(name.local, format == FeedFormat::kAtom ? "feed" : "rss") ||
                       platform::EqualsIgnoreCase(name.local, NamesOf(format).item);
    if (named && (name.prefix.empty() || PrefixBelongsTo(document, root, name.prefix, format))) return format;
  }
  return std::nullopt;
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

// The child position on the first child of that name; false when there is none. An element
// written with a prefix ("rss:item", "atom:author") has its children under the same prefix, so
// those count when no bare child has the name.
bool FindFirstChild(XmlDocument& document, const char* name) {
  document.RestartChildSearch();
  if (document.FindChildElement(name)) return true;
  const QualifiedName current = SplitName(document.ElementName(document.CurrentPosition()));
  if (current.prefix.empty()) return false;
  document.RestartChildSearch();
  return document.FindChildElement(std::string(current.prefix) + ":" + name);
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
// link taken from the content's src stays. The links are the children named as the first one:
// bare, or under the entry's own prefix.
void ReadAtomLink(XmlDocument& document, Article& article) {
  if (!FindFirstChild(document, "link")) return;
  const std::string name(document.ElementName(document.ChildPosition()));
  document.RestartChildSearch();
  while (document.FindChildElement(name)) {
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
  const ElementTable& elements = document.Elements();
  const uint32_t root = elements[0].firstChild;
  if (root == 0) return FeedFormat::kRss;
  if (std::optional<FeedFormat> format = FormatOfRoot(document, root)) return *format;
  // A root that says nothing: the first identifier element decides. Elements are numbered in
  // document order, so the root's descendants are the indexes after it up to its next sibling:
  // a pre-order walk without moving the cursor.
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
  int items = 0;
  // A document that is one item (its root an "entry" or "item") is a feed of that one item.
  if (document.FindElement() && IsItemElement(document, document.CurrentPosition(), format)) {
    ++items;
    deliver();
  }
  document.Rewind();
  if (!document.FindChildElement()) return items;
  do {
    document.EnterElement();
    if (IsItemElement(document, document.CurrentPosition(), format)) {
      ++items;
      deliver();
    }
    afterElement();
  } while (AdvanceChildPosition(document));
  return items;
}

}  // namespace tarnwick::feed
