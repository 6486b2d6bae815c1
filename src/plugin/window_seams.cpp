#include "plugin/window_seams.h"

#include "plugin/check_session.h"
#include "plugin/full_article_translator.h"
#include "plugin/special_menu.h"
#include "ui/main_window_model.h"
#include "ui/platform_backends.h"
#include "ui/plugin_windows.h"

#include <memory>

namespace tarnwick::plugin {
namespace {

bool installed = false;

// Takes the windows away when the module is unloaded. It is made after everything it uses (the
// seams, the Newsboard's reference), so it is destroyed before them.
struct RemovedAtUnload {
  ~RemovedAtUnload() { RemoveWindows(); }
};

ui::MainWindowSetup SetupOf(const PluginContext& context, bool cacheMode) {
  ui::MainWindowSetup setup;
  setup.files = {context.settingsPath, context.scratchFeedPath, context.hostDataFolder, context.helpPath,
                 context.productName};
  setup.versionText = context.versionText;
  setup.cacheMode = cacheMode;
  return setup;
}

ui::ViewerContext ViewerContextOf(const PluginContext& context) {
  ui::ViewerContext viewer;
  viewer.settingsPath = context.settingsPath;
  viewer.hostDataFolder = context.hostDataFolder;
  viewer.inMailboxPath = context.inMailboxPath;
  viewer.outMailboxPath = context.outMailboxPath;
  viewer.helpPath = context.helpPath;
  viewer.productName = context.productName;
  viewer.versionText = context.versionText;
  viewer.tidyRegistered = context.tidyRegistered;
  return viewer;
}

void ReportUnreachableHost(const std::string& productName, const std::string& errorText) {
  ui::FeedInfo info;
  info.mode = ui::FeedInfoMode::kAutomationError;
  info.productName = productName;
  info.errorText = errorText;
  ui::ShowInformation(info);
}

// The main window as the Special menu runs it: a cache-mode window checks the cached feeds and
// closes itself; a normal one runs until the user closes it, and then its run, if any, is reported.
void RunWindow(PluginContext& context, bool cacheMode) {
  auto makeRun = [&context](check::CheckView& view, mailbox::NewArticleReceiver* receiver) {
    auto session = std::make_shared<CheckSession>(context, view, receiver, true);
    return std::shared_ptr<check::CheckRun>(session, &session->Run());
  };
  const check::RunReport report = ui::RunMainWindow(SetupOf(context, cacheMode), makeRun);
  if (cacheMode) return;
  if (std::optional<ui::FeedInfo> info = ui::RunReportInfo(report, context.productName)) ui::ShowInformation(*info);
}

}  // namespace

bool InstallWindows(PluginContext& context) {
  if (installed) return true;
  if (!ui::WindowsAvailable()) return false;
  ui::InstallPlatformBackends();
  SetMainWindowRunner(
      [](PluginContext& runContext, MainWindowMode mode) { RunWindow(runContext, mode == MainWindowMode::kCache); });
  SetHostErrorReporter(
      [&context](const std::string& errorText) { ReportUnreachableHost(context.productName, errorText); });
  SetArticleViewerOpener([&context](const std::string& articleHtml, const std::string& headerText) {
    return ui::OpenArticleViewer(ViewerContextOf(context), headerText, articleHtml);
  });
  SetDownloadProgressOpener(ui::ShowDownloadProgress);
  ui::CreateNewsboard(ViewerContextOf(context));
  installed = true;
  static RemovedAtUnload removal;
  return true;
}

void RemoveWindows() {
  if (!installed) return;
  SetMainWindowRunner({});
  SetHostErrorReporter({});
  SetArticleViewerOpener({});
  SetDownloadProgressOpener({});
  ui::RemovePlatformBackends();
  ui::DestroyNewsboard();
  installed = false;
}

void ShowAboutBox(const PluginContext& context) {
  if (installed) ui::ShowAbout(context.productName, context.versionText);
}

}  // namespace tarnwick::plugin
