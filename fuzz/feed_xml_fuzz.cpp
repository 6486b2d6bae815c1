// Parses arbitrary bytes as a feed document, checks that the element table is sound, and walks
// every element with the cursor, reading its name, text, markup and every attribute named in its
// start tag. Any broken invariant traps, so the fuzzer reports it like a crash.

#include "feed/xml_content_text.h"
#include "feed/xml_document.h"
#include "feed/xml_references.h"

#include "xml_table_checks.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using tarnwick::feed::ElementRecord;
using tarnwick::feed::XmlDocument;

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

void CheckTable(const XmlDocument& doc) { Require(tarnwick::feed::TableFault(doc).empty()); }

// Names that may be attributes: the runs of a start tag between whitespace, "=", quotes and "/".
std::vector<std::string_view> AttributeNames(std::string_view startTag) {
  std::vector<std::string_view> names;
  size_t at = 1;
  while (at < startTag.size() && names.size() < 8) {
    size_t end = startTag.find_first_of(" \t\r\n=\"'/>", at);
    if (end == std::string_view::npos) end = startTag.size();
    if (end > at) names.push_back(startTag.substr(at, end - at));
    at = end + 1;
  }
  return names;
}

size_t ReadElement(const XmlDocument& doc, size_t& markupBudget) {
  size_t read = doc.TagName().size() + doc.ElementText().size() + doc.ChildText().size();
  uint32_t current = doc.CurrentPosition();
  const ElementRecord& record = doc.Elements()[current];
  std::string_view startTag = std::string_view(doc.Text()).substr(record.start, doc.Elements().StartTagLength(current));
  for (std::string_view name : AttributeNames(startTag)) {
    read += doc.AttributeValue(name).size() + doc.ChildAttributeValue(name).size();
  }
  // The markup of an element copies its whole subtree; a budget keeps deep nesting linear.
  if (record.length <= markupBudget) {
    markupBudget -= record.length;
    read += doc.ElementMarkup().size();
  }
  return read;
}

void Walk(XmlDocument& doc, size_t markupBudget) {
  uint32_t visited = 0;
  if (doc.FindElement()) {
    for (;;) {
      ++visited;
      ReadElement(doc, markupBudget);
      if (doc.FindChildElement()) {
        Require(doc.EnterElement());
        continue;
      }
      bool more = true;
      while (more && !doc.FindElement()) more = doc.LeaveElement();
      if (!more) break;
    }
  }
  Require(visited == doc.Elements().Count() - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  XmlDocument doc;
  bool wellFormed = doc.ParseText(text);
  Require(wellFormed == doc.ErrorText().empty());
  Require(wellFormed == doc.WellFormed());
  CheckTable(doc);
  XmlDocument copy = doc;
  Walk(doc, 16 * size + 4096);
  // The copy walks the same tree from its own cursor.
  Require(copy.FindChildElement() == (doc.Elements()[doc.Elements()[0].firstChild].firstChild != 0));
  copy.Rewind();
  Walk(copy, 4096);
  // Decoding never grows, whatever the bytes.
  Require(tarnwick::feed::UnescapeText(text).size() <= text.size());
  Require(tarnwick::feed::ContentText(text).size() <= text.size());
  return 0;
}
