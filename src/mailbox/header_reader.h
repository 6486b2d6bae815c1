#pragma once

#include <string>
#include <vector>

namespace tarnwick::mailbox {

/// Appends to `list` the pieces of `text` between occurrences of `separator` (the last piece may be
/// empty; the whole text when the separator does not occur) and returns the list's size afterwards.
/// An empty separator adds nothing and returns 0.
int SplitText(const std::string& text, const std::string& separator, std::vector<std::string>& list);

/// The value of the field `name` (given with its colon and blank, "Feed: ") in a header text whose
/// lines end in CR LF: the rest of the first line that starts with the name in any letter case,
/// untrimmed, followed directly by the values of further lines that start with the name, and by
/// continuation lines (lines without a colon, each with as many leading characters dropped as the
/// name has). The first other line holding a colon ends it. Empty when the field is absent.
std::string ReadHeaderField(const std::string& headerText, const std::string& name);

}  // namespace tarnwick::mailbox
