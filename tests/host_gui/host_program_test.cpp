// The program itself: without a verb it opens its windows on the data folder, loads the plug-ins of
// the data folder's "plugins" folder, and ends when the user quits, also after the real module's
// windows have been used.
#include "gui_support/close_request.h"
#include "gui_support/gui_test_support.h"
#include "program_process.h"
#include "screen_probe.h"
#include "support/module_install.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <wx/uiaction.h>

#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

namespace tarnwick::host::gui::test {
namespace {

using namespace std::chrono_literals;
using tarnwick::test::RunEventsFor;
using tarnwick::test::RunEventsUntil;

// The file name a plug-in module has on this system.
std::string ModuleFileName(const std::string& stem) {
  return stem + std::filesystem::path(TARNWICK_HOST_GUI_PROBE).extension().string();
}

// The host program on a data folder of its own, with modules copied into its plug-ins folder.
class HostProgram : public testing::Test {
protected:
  HostProgram() { std::filesystem::create_directories(dir_.File("plugins")); }

  void StartWithPlugins(const std::vector<std::pair<std::string, std::string>>& modules) {
    for (const auto& [file, name] : modules) std::filesystem::copy_file(file, dir_.File("plugins/" + name));
    program_ = std::make_unique<ProgramProcess>(TARNWICK_HOST_PROGRAM,
                                                std::vector<std::string>{"--data-folder", dir_.Path()}, ErrorsFile());
    ASSERT_TRUE(program_->Started());
    // The frame shows the data folder as the host names it: the whole path, with forward slashes.
    title_ = "tarnwick-host - " + std::filesystem::canonical(dir_.Path()).generic_string();
    ASSERT_TRUE(RunEventsUntil([&] { return !(frame_ = TopLevelWindowRect(title_)).IsEmpty(); }, 30s))
        << "no window titled " << title_ << "; the program said: " << Said();
    // The pointer over the window gives it the keyboard (there may be no window manager).
    wxUIActionSimulator simulator;
    simulator.MouseMove(frame_.GetBottomLeft() + wxPoint(frame_.width / 2, -8));
    simulator.MouseClick();
    RunEventsFor(300ms);
  }

  // Whether the program ends by itself within the time; its exit status in `status`.
  bool EndsWithin(std::chrono::milliseconds limit, int& status) {
    return RunEventsUntil([&] { return program_->HasEnded(status); }, limit);
  }

  std::string ErrorsFile() const { return dir_.File("stderr.txt"); }
  std::string Said() const { return tarnwick::test::ReadFileBytes(ErrorsFile()); }

  tarnwick::test::TempDir dir_;
  std::unique_ptr<ProgramProcess> program_;
  std::string title_;
  wxRect frame_;
};

TEST_F(HostProgram, WithoutAVerbItOpensTheWindowsOfTheDataFolderAndQuitsFromTheKeyboard) {
  tarnwick::test::WriteFileBytes(dir_.File("plugins/" + ModuleFileName("notes")), "not a module");
  StartWithPlugins({{TARNWICK_HOST_GUI_PROBE, ModuleFileName("gui_probe")}});
  wxUIActionSimulator().Char('q', wxMOD_CONTROL);
  int status = -1;
  ASSERT_TRUE(EndsWithin(30s, status)) << "Ctrl+Q did not end the program";
  EXPECT_EQ(status, 0);
  const std::string said = Said();
  EXPECT_NE(said.find("plug-in skipped: " + dir_.File("plugins/" + ModuleFileName("notes"))), std::string::npos)
      << said;
  EXPECT_EQ(said.find(ModuleFileName("gui_probe")), std::string::npos) << "the probe loads: " << said;
}

// The module's windows and the toolkit behind them end with the module's finish, before the
// module is unloaded: a quit then ends the program at once.
TEST_F(HostProgram, QuitsAfterTheModulesMainWindowWasOpenedAndClosed) {
  tarnwick::test::InstallModule(TARNWICK_MODULE_FILE, dir_.File("plugins"));  // with its windows' library
  StartWithPlugins({});
  // The Special menu, its first item the module's. On a loaded machine the menu can open after the
  // key meant for it: the menu is opened again until the window comes.
  wxUIActionSimulator keys;
  const auto mainWindowShown = [this] { return !OtherWindowOfProgramRect(title_).IsEmpty(); };
  for (int attempt = 0; attempt < 3 && !mainWindowShown(); ++attempt) {
    keys.Char(WXK_ESCAPE);
    keys.Char('s', wxMOD_ALT);
    RunEventsFor(700ms);
    keys.Char(WXK_RETURN);
    RunEventsUntil(mainWindowShown, 10s);
  }
  ASSERT_TRUE(mainWindowShown()) << "the module's main window did not open; the program said: " << Said();
  RunEventsFor(500ms);
  keys.Char(WXK_ESCAPE);
  ASSERT_TRUE(RunEventsUntil([&] { return !mainWindowShown(); }, 10s));
  ASSERT_EQ(tarnwick::test::RequestCloseByTitle(title_), 1);
  int status = -1;
  ASSERT_TRUE(EndsWithin(20s, status)) << "the program did not end after its window closed";
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace tarnwick::host::gui::test
