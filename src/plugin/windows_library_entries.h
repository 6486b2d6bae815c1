#pragma once

// What the module and the library of its windows share when the windows are apart from the module:
// where the library lies, the names of its entries and what they pass. Both are built from the
// same code, so the records below have one layout on either side.

#include "platform/keyboard_state.h"
#include "platform/message_box.h"
#include "platform/ui_pump.h"
#include "plugin/full_article_translator.h"
#include "plugin/plugin_context.h"
#include "plugin/special_menu.h"

#include <cstdint>

namespace tarnwick::plugin {

/// The folder beside the module that holds the windows' library; the host, which takes every
/// module file of the plug-in folder for a plug-in, does not look into it.
inline constexpr char kWindowsLibraryFolderName[] = "tarnwick";
/// The windows' library, as built: "libtarnwick-windows.so".
inline constexpr char kWindowsLibraryName[] = "tarnwick-windows";
/// Said when the process makes windows and the library cannot be loaded; the reason follows.
inline constexpr char kWindowsNotLoadedText[] = "Tarnwick's windows cannot be shown: ";

/// The answers of the windows that the module's own code asks for: its Special-menu entry and
/// translator, and the platform's message boxes, keyboard and event pump. Each stays usable while
/// the library is loaded.
struct WindowSeams {
  MainWindowRunner mainWindow;
  HostErrorReporter hostError;
  ArticleViewerOpener articleViewer;
  DownloadProgressOpener downloadProgress;
  platform::MessagePump messagePump;
  platform::MessageBoxHandler messageBox;
  platform::KeyStateProvider keyState;
};

/// Installs the windows for `context` (which must outlive them) and fills `seams`: 1; 0, with
/// `seams` untouched, when the process makes no windows. Call on the UI thread.
using OpenWindowsFunction = int32_t (*)(PluginContext* context, WindowSeams* seams);
/// Takes the windows down; the seams handed out must be dropped before.
using CloseWindowsFunction = void (*)();
/// Shows the About box over the host's main window.
using ShowAboutFunction = void (*)(const PluginContext* context);

inline constexpr char kOpenWindowsEntry[] = "tarnwick_windows_Open";
inline constexpr char kCloseWindowsEntry[] = "tarnwick_windows_Close";
inline constexpr char kShowAboutEntry[] = "tarnwick_windows_ShowAbout";

}  // namespace tarnwick::plugin
