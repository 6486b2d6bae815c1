#pragma once

#include "feed/xml_element_table.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick::feed {

/// Builds the element table of `text` (shorter than 4 GiB) in one pass without recursion: every
/// start tag becomes a record linked under the element open at that point, with record 0 as the
/// top level. Structural faults are repaired (an end tag that matches no open element is ignored;
/// elements left open are shortened to their start tag and their children lifted to follow them)
/// and marked on record 0; `error` is cleared and then receives the first fault's message.
/// `table` must have been Reset for the text. Returns the index of the first element, 0 if none.
uint32_t BuildElementTree(std::string_view text, ElementTable& table, std::string& error);

}  // namespace tarnwick::feed
