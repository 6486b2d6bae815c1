#pragma once

#include <string_view>

namespace tarnwick::ui {

/// True when `link` is an http or https address (the scheme in any letter case). Links taken from
/// feeds are shown and handed to the browser only then: a "file:" or "javascript:" link, or a bare
/// local path, would show or send on what is on this computer.
bool IsWebAddress(std::string_view link);

}  // namespace tarnwick::ui
