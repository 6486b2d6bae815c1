#pragma once

// Names and texts the module shows to the host and the user.

namespace tarnwick::plugin {

inline constexpr char kModuleName[] = "tarnwick";
inline constexpr char kSettingsFileName[] = "tarnwick.ini";
inline constexpr char kScratchFeedFileName[] = "feed.xml";
inline constexpr char kTidyModuleName[] = "TidyCOM";  // beside the module, with its extension
inline constexpr char kTidyRegisterFunction[] = "DllRegisterServer";
inline constexpr char kHelpFolderName[] = "help";
inline constexpr char kPluginsFolderName[] = "plugins";
/// The host program whose executable has its settings file beside it.
inline constexpr char kHostExecutableName[] = "tarnwick-host";

inline constexpr char kSpecialMenuName[] = "Tarnwick...";
inline constexpr int kPluginId = 4410;
inline constexpr int kPluginIconResource = 1000;
inline constexpr int kTranslatorIconResource = 132;
inline constexpr int kSpecialMenuFlags = 0x8000;

}  // namespace tarnwick::plugin
