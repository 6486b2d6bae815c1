// The module whose windows are a library of their own (windows_library.cpp), loaded only in a
// process that makes windows: a process without them, such as the host's command line, never
// loads the toolkit, the web engine and the many system libraries under them.
#include "platform/dynamic_library.h"
#include "plugin/window_seams.h"
#include "plugin/windows_library_entries.h"

#include <memory>

namespace tarnwick::plugin {
namespace {

// The loaded library with its entries.
struct WindowsLibrary {
  platform::DynamicLibrary library;
  CloseWindowsFunction close = nullptr;
  ShowAboutFunction showAbout = nullptr;
};

std::unique_ptr<WindowsLibrary>& Loaded() {
  static std::unique_ptr<WindowsLibrary> loaded;
  return loaded;
}

// Takes the windows away when the module is unloaded, before the library's code goes.
struct RemovedAtUnload {
  ~RemovedAtUnload() { RemoveWindows(); }
};

std::string WindowsLibraryPath(const PluginContext& context) {
  return context.pluginFolder + "/" + kWindowsLibraryFolderName + "/" + platform::ModuleFileName(kWindowsLibraryName);
}

template <typename Function>
Function Entry(const platform::DynamicLibrary& library, const char* name) {
  return reinterpret_cast<Function>(library.Symbol(name));
}

void InstallSeams(WindowSeams seams) {
  SetMainWindowRunner(std::move(seams.mainWindow));
  SetHostErrorReporter(std::move(seams.hostError));
  SetArticleViewerOpener(std::move(seams.articleViewer));
  SetDownloadProgressOpener(std::move(seams.downloadProgress));
  platform::SetMessagePump(std::move(seams.messagePump));
  platform::SetMessageBoxHandler(std::move(seams.messageBox));
  platform::SetKeyStateProvider(std::move(seams.keyState));
}

}  // namespace

bool InstallWindows(PluginContext& context) {
  if (Loaded()) return true;
  // The windows live in the application of the toolkit that a host with windows runs; a process
  // without the toolkit has none to show them in.
  if (!platform::LibraryInProcess(TARNWICK_TOOLKIT_LIBRARY)) return false;
  std::string reason;
  auto windows = std::make_unique<WindowsLibrary>();
  windows->library = platform::DynamicLibrary::Load(WindowsLibraryPath(context), reason);
  auto open = Entry<OpenWindowsFunction>(windows->library, kOpenWindowsEntry);
  windows->close = Entry<CloseWindowsFunction>(windows->library, kCloseWindowsEntry);
  windows->showAbout = Entry<ShowAboutFunction>(windows->library, kShowAboutEntry);
  if (open == nullptr || windows->close == nullptr || windows->showAbout == nullptr) {
    if (reason.empty()) reason = WindowsLibraryPath(context) + ": an entry of the windows is missing";
    platform::ShowMessageBox(kWindowsNotLoadedText + reason, context.productName);
    return false;
  }
  WindowSeams seams;
  if (open(&context, &seams) == 0) return false;
  InstallSeams(std::move(seams));
  Loaded() = std::move(windows);
  static RemovedAtUnload removal;
  return true;
}

void RemoveWindows() {
  std::unique_ptr<WindowsLibrary>& loaded = Loaded();
  if (!loaded) return;
  InstallSeams({});  // the seams hold the library's code: they go first
  loaded->close();
  loaded.reset();
}

void ShowAboutBox(const PluginContext& context) {
  if (const std::unique_ptr<WindowsLibrary>& loaded = Loaded()) loaded->showAbout(&context);
}

}  // namespace tarnwick::plugin
