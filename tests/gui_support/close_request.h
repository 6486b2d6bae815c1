#pragma once

#include <string>

namespace tarnwick::test {

/// Asks every top-level window titled `title` to close the way a window manager does when the
/// user clicks its close box (the WM_DELETE_WINDOW message of the X protocol). The number of
/// windows asked.
int RequestCloseByTitle(const std::string& title);

}  // namespace tarnwick::test
