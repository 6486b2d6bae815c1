#pragma once

namespace tarnwick::platform {

/// The program's name as it names itself to the user (message box captions) and to servers
/// (the HTTP user agent): the module's file name without its extension.
inline constexpr char kApplicationName[] = "tarnwick";

}  // namespace tarnwick::platform
