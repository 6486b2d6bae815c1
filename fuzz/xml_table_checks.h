#pragma once

// The soundness of a parsed document's element table, shared by the XML fuzz target and the
// tests that replay corpora through the parser.

#include "feed/xml_document.h"

#include <cstdint>
#include <string>

namespace tarnwick::feed {

// Checks what every parse must leave behind, whatever the input: records inside the text and
// starting with their tags, end tags where lengths say, and links forming one tree in which every
// element sits exactly once, in document order. Returns the first violation, or "".
inline std::string TableFault(const XmlDocument& doc) {
  const ElementTable& table = doc.Elements();
  const std::string& text = doc.Text();
  uint32_t count = table.Count();
  for (uint32_t at = 1; at < count; ++at) {
    const ElementRecord& record = table[at];
    uint32_t startTag = table.StartTagLength(at);
    uint32_t endTag = table.EndTagLength(at);
    std::string where = "element " + std::to_string(at) + ": ";
    if (uint64_t{record.start} + record.length > text.size()) return where + "outside the text";
    if (text[record.start] != '<' || startTag < 2 || text[record.start + startTag - 1] != '>')
      return where + "start tag";
    if (endTag == 0 ? record.length != startTag : uint64_t{startTag} + endTag > record.length) return where + "lengths";
    if (endTag != 0 && (text.compare(record.start + record.length - endTag, 2, "</") != 0 ||
                        text[record.start + record.length - 1] != '>')) {
      return where + "end tag";
    }
  }
  uint64_t linked = 0;
  for (uint32_t parent = 0; parent < count; ++parent) {
    uint32_t first = table[parent].firstChild;
    uint32_t previous = 0;
    for (uint32_t child = first; child != 0; child = table[child].nextSibling) {
      if (child >= count || ++linked >= count) return "links run wild under " + std::to_string(parent);
      if (table[child].parent != parent) return "parent of " + std::to_string(child);
      if (previous != 0 && (table[child].previousSibling != previous || child <= previous)) {
        return "sibling order at " + std::to_string(child);
      }
      if (parent != 0 && table[parent].length > table.StartTagLength(parent) &&
          table[child].start + table[child].length > table[parent].start + table[parent].length) {
        return "child " + std::to_string(child) + " outside its parent";
      }
      previous = child;
    }
    if (first != 0 && table[first].previousSibling != previous) return "last-child link of " + std::to_string(parent);
  }
  return linked == count - 1 ? "" : "elements missing from the tree";
}

}  // namespace tarnwick::feed
