// The built module loaded into this program, which makes windows, as a host with windows loads it:
// init makes the Newsboard hidden, the configuration call shows the About box, and unloading the
// module takes its windows with it before its code goes.
#include "dialog_driver.h"

#include "platform/ems_records.h"
#include "support/module_install.h"
#include "support/temp_dir.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/toplevel.h>

#include <filesystem>
#include <string>

namespace tarnwick::test {
namespace {

int WindowsTitled(const wxString& title) {
  int count = 0;
  for (wxWindow* window : wxTopLevelWindows) {
    if (!window->IsBeingDeleted() && window->GetLabel() == title) ++count;
  }
  return count;
}

// The module of a plug-ins folder, loaded, with the entries these tests call.
struct LoadedModule {
  explicit LoadedModule(const std::string& plugins)
      : handle(dlopen((plugins + "/libtarnwick.so").c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (handle == nullptr) return;
    init = reinterpret_cast<EmsPluginInitFunction>(dlsym(handle, "ems_plugin_init"));
    config = reinterpret_cast<EmsPluginConfigFunction>(dlsym(handle, "ems_plugin_config"));
    finish = reinterpret_cast<EmsPluginFinishFunction>(dlsym(handle, "ems_plugin_finish"));
    release = reinterpret_cast<EmsFreeFunction>(dlsym(handle, "ems_free"));
  }
  bool Ready() const { return handle && init && config && finish && release; }

  void* handle;
  EmsPluginInitFunction init = nullptr;
  EmsPluginConfigFunction config = nullptr;
  EmsPluginFinishFunction finish = nullptr;
  EmsFreeFunction release = nullptr;
};

TEST(PluginModuleWindows, InitMakesTheNewsboardHiddenAndUnloadingRemovesIt) {
  TempDir dir;
  std::string plugins = dir.File("plugins");
  std::filesystem::create_directories(plugins);
  InstallModule(TARNWICK_MODULE_FILE, plugins);
  const int newsboardsBefore = WindowsTitled("News Board");

  LoadedModule loaded(plugins);
  ASSERT_TRUE(loaded.Ready()) << dlerror();
  auto [module, init, config, finish, release] = loaded;
  EmsMailConfig mailConfig{sizeof(EmsMailConfig), nullptr, plugins.data()};
  EmsPluginInfo info{};
  EXPECT_EQ(init(nullptr, 4, &mailConfig, &info), 0);

  EXPECT_EQ(WindowsTitled("News Board"), newsboardsBefore + 1);
  for (wxWindow* window : wxTopLevelWindows) {
    if (window->GetLabel() == "News Board") EXPECT_FALSE(window->IsShown());
  }
  std::string aboutTitle;
  WhenShown<wxDialog>([&aboutTitle](wxDialog& about) {
    aboutTitle = about.GetTitle().utf8_string();
    Click(about.FindWindow(wxID_OK));
  });
  EXPECT_EQ(config(nullptr, &mailConfig), 0);
  EXPECT_EQ(aboutTitle, "About Tarnwick");

  EXPECT_EQ(finish(nullptr), 0);
  release(info.description);
  release(info.icon);
  EXPECT_EQ(dlclose(module), 0);
  // A window of the unloaded module left behind would crash the program when it is drawn or
  // destroyed: it must be gone.
  EXPECT_EQ(WindowsTitled("News Board"), newsboardsBefore);
  RunEventsFor(std::chrono::milliseconds(200));
}

// A module installed without its windows' library, in a program that makes windows: it says why
// it shows no windows, and runs without them instead of failing.
TEST(PluginModuleWindows, WithoutItsWindowsLibraryTheModuleSaysSoAndRunsWithoutWindows) {
  TempDir dir;
  std::string plugins = dir.File("plugins");
  std::filesystem::create_directories(plugins);
  std::filesystem::copy_file(TARNWICK_MODULE_FILE, plugins + "/libtarnwick.so");
  const int newsboardsBefore = WindowsTitled("News Board");

  LoadedModule loaded(plugins);
  ASSERT_TRUE(loaded.Ready()) << dlerror();
  auto [module, init, config, finish, release] = loaded;
  EmsMailConfig mailConfig{sizeof(EmsMailConfig), nullptr, plugins.data()};
  EmsPluginInfo info{};
  testing::internal::CaptureStderr();
  EXPECT_EQ(init(nullptr, 4, &mailConfig, &info), 0);
  EXPECT_EQ(config(nullptr, &mailConfig), 0);  // the About box cannot be shown either
  const std::string said = testing::internal::GetCapturedStderr();

  EXPECT_NE(said.find("Tarnwick's windows cannot be shown: " + plugins + "/tarnwick/libtarnwick-windows.so"),
            std::string::npos)
      << said;
  EXPECT_EQ(WindowsTitled("News Board"), newsboardsBefore);
  EXPECT_EQ(finish(nullptr), 0);
  release(info.description);
  release(info.icon);
  EXPECT_EQ(dlclose(module), 0);
}

}  // namespace
}  // namespace tarnwick::test
