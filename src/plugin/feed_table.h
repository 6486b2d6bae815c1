#pragma once

#include "plugin/plugin_context.h"

#include <cstdio>
#include <string>
#include <vector>

namespace tarnwick::plugin {

/// The rows as a table of plain text, one line each: every column as wide as its widest cell
/// (counted in characters of UTF-8), two blanks between columns, an empty cell shown as "-", the
/// last column not padded. Every row has the first row's number of cells.
std::string FormatColumns(const std::vector<std::vector<std::string>>& rows);

/// Prints every listed feed in the main window's order under a head line: its alias, newsbox,
/// last article, when its last check ended and why that check failed, or, for a failing or quiet
/// feed, its health (see check::HealthNote). kRunAllChecked, or
/// kRunNotPossible when the module is not set up.
int ListFeedsHeadless(PluginContext& context, std::FILE* out);

}  // namespace tarnwick::plugin
