#pragma once

namespace tarnwick::platform {

/// How the lines of a new text file end on this system: "\r\n" on Windows, "\n" elsewhere.
const char* NativeLineEnd();

}  // namespace tarnwick::platform
