#pragma once

#include "check/feed_check.h"

#include <string>

namespace tarnwick::check {

/// The skipped items of a feed in words, reason by reason in a fixed order and joined by ", ":
/// "3 items without title or text, 1 item already delivered". Empty when nothing was skipped.
std::string DescribeSkips(const SkipCounts& skips);

}  // namespace tarnwick::check
