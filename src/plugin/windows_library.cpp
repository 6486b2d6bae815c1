// The entries of the library that holds the module's windows when they are apart from the module
// (window_seams_apart.cpp loads it). It carries a copy of the plug-in's code: the windows run their
// check runs and dialogs on it, and hand the module the answers its own code asks the windows for.
#include "check/stored_proxy.h"
#include "feed/download_connections.h"
#include "plugin/export_guard.h"
#include "plugin/window_seams.h"
#include "plugin/windows_library_entries.h"

using namespace tarnwick;

namespace {

// The function a seam holds now, left in place: the windows installed it in this copy's seams.
template <typename Function, typename Setter>
Function Current(Setter set) {
  Function current = set({});
  set(current);
  return current;
}

}  // namespace

TARNWICK_EXPORT int32_t tarnwick_windows_Open(plugin::PluginContext* context, plugin::WindowSeams* seams) {
  return plugin::Guarded(__func__, 0, [&] {
    if (!plugin::InstallWindows(*context)) return 0;
    // This copy of the plug-in's code downloads for the windows: it takes the stored proxy too.
    check::UseStoredProxy(store::SettingsStore(context->settingsPath));
    seams->mainWindow = Current<plugin::MainWindowRunner>(plugin::SetMainWindowRunner);
    seams->hostError = Current<plugin::HostErrorReporter>(plugin::SetHostErrorReporter);
    seams->articleViewer = Current<plugin::ArticleViewerOpener>(plugin::SetArticleViewerOpener);
    seams->downloadProgress = Current<plugin::DownloadProgressOpener>(plugin::SetDownloadProgressOpener);
    seams->messagePump = Current<platform::MessagePump>(platform::SetMessagePump);
    seams->messageBox = Current<platform::MessageBoxHandler>(platform::SetMessageBoxHandler);
    seams->keyState = Current<platform::KeyStateProvider>(platform::SetKeyStateProvider);
    return 1;
  });
}

TARNWICK_EXPORT void tarnwick_windows_Close() {
  plugin::Guarded(__func__, 0, [] {
    plugin::RemoveWindows();
    feed::CloseSharedConnections();  // this copy's connections go with the library
    return 0;
  });
}

TARNWICK_EXPORT void tarnwick_windows_ShowAbout(const plugin::PluginContext* context) {
  plugin::Guarded(__func__, 0, [&] {
    plugin::ShowAboutBox(*context);
    return 0;
  });
}
