#include "opml/opml_reader.h"

#include "feed/xml_document.h"
#include "feed/xml_encoding.h"
#include "opml/html_entities.h"
#include "opml/opml_texts.h"
#include "platform/file_io.h"
#include "platform/text.h"

#include <cerrno>
#include <cstdint>

namespace tarnwick::opml {
namespace {

constexpr std::string_view kOutline = "outline";
constexpr char kNonBreakingSpace[] = "\xC2\xA0";

// Runs of white space and control characters (line breaks and non-breaking spaces included) become
// one blank, none at the ends.
std::string CollapseWhiteSpace(const std::string& text) {
  const std::string spaced = platform::ReplaceAll(text, kNonBreakingSpace, " ");
  std::string out;
  bool blank = false;
  for (char c : spaced) {
    if (static_cast<unsigned char>(c) <= ' ' || c == 0x7F) {
      blank = !out.empty();
      continue;
    }
    if (blank) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

// The first of the two attributes that holds more than white space, decoded and collapsed.
std::string TextOf(const feed::XmlDocument& document, uint32_t outline, std::string_view first,
                   std::string_view second) {
  for (std::string_view attribute : {first, second}) {
    std::string title = CollapseWhiteSpace(DecodeHtmlEntities(document.AttributeValueAt(outline, attribute)));
    if (!title.empty()) return title;
  }
  return {};
}

std::string UrlOf(const feed::XmlDocument& document, uint32_t outline) {
  // Some programs write the attribute's name in their own letter case.
  for (std::string_view attribute : {"xmlUrl", "xmlURL", "xmlurl"}) {
    std::string url = platform::TrimWhiteSpace(document.AttributeValueAt(outline, attribute));
    if (!url.empty()) return url;
  }
  return {};
}

uint32_t ChildNamed(const feed::XmlDocument& document, uint32_t parent, std::string_view name) {
  const feed::ElementTable& elements = document.Elements();
  for (uint32_t child = elements[parent].firstChild; child != 0; child = elements[child].nextSibling) {
    if (document.ElementName(child) == name) return child;
  }
  return 0;
}

// Elements are numbered in document order, a parent before its children, so one pass sees every
// outline after the outline around it; no recursion, however deep the nesting.
std::vector<OpmlEntry> FlattenOutlines(const feed::XmlDocument& document, uint32_t body) {
  const feed::ElementTable& elements = document.Elements();
  std::vector<bool> inList(elements.Count(), false);
  std::vector<std::string> folderBelow(elements.Count());
  inList[body] = true;
  std::vector<OpmlEntry> entries;
  for (uint32_t index = body + 1; index < elements.Count(); ++index) {
    const uint32_t parent = elements[index].parent;
    if (!inList[parent] || document.ElementName(index) != kOutline) continue;
    inList[index] = true;
    const std::string title = TextOf(document, index, "text", "title");
    std::string url = UrlOf(document, index);
    if (!url.empty() || elements[index].firstChild == 0) {
      entries.push_back({title, TextOf(document, index, "title", "text"), std::move(url), folderBelow[parent]});
    }
    folderBelow[index] = title.empty() ? folderBelow[parent] : title;
  }
  return entries;
}

}  // namespace

OpmlReadResult ReadOpml(std::string bytes) {
  OpmlReadResult result;
  feed::XmlDocument document;
  if (!document.ParseText(feed::XmlDocumentAsUtf8(std::move(bytes)))) {
    result.error = kNotWellFormedPrefix + document.ErrorText() + "." + kNothingAddedText;
    return result;
  }
  const feed::ElementTable& elements = document.Elements();
  const uint32_t root = elements[0].firstChild;
  if (document.ElementName(root) != "opml") {
    result.error = kNotOpmlPrefix + std::string(document.ElementName(root)) + kNotOpmlSuffix + kNothingAddedText;
    return result;
  }
  const uint32_t body = ChildNamed(document, root, "body");
  if (body == 0) {
    result.error = std::string(kNoBodyText) + kNothingAddedText;
    return result;
  }
  result.entries = FlattenOutlines(document, body);
  result.ok = true;
  return result;
}

OpmlReadResult ReadOpmlFile(const std::string& path) {
  std::string bytes;
  if (!platform::ReadFileIfPresent(path, bytes)) {
    OpmlReadResult result;
    result.error = kCannotReadPrefix + path + ": " + platform::SystemErrorText(errno) + "." + kNothingAddedText;
    return result;
  }
  return ReadOpml(std::move(bytes));
}

}  // namespace tarnwick::opml
