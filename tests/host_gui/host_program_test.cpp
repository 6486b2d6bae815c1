// The program itself: without a verb it opens its windows on the data folder, loads the plug-ins of
// the data folder's "plugins" folder, and ends when the user quits.
#include "gui_support/gui_test_support.h"
#include "screen_probe.h"
#include "support/temp_dir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <wx/uiaction.h>

#include <cstdlib>
#include <filesystem>

extern char** environ;

namespace tarnwick::host::gui::test {
namespace {

using namespace std::chrono_literals;
using tarnwick::test::RunEventsFor;
using tarnwick::test::RunEventsUntil;

TEST(HostProgram, WithoutAVerbItOpensTheWindowsOfTheDataFolderAndQuitsFromTheKeyboard) {
  tarnwick::test::TempDir dir;
  std::filesystem::create_directories(dir.File("plugins"));
  std::filesystem::copy_file(TARNWICK_HOST_GUI_PROBE, dir.File("plugins/gui_probe.so"));
  tarnwick::test::WriteFileBytes(dir.File("plugins/notes.so"), "not a module");
  const std::string errors = dir.File("stderr.txt");

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::string program = TARNWICK_HOST_PROGRAM;
  std::string option = "--data-folder";
  std::string folder = dir.Path();
  char* argv[] = {program.data(), option.data(), folder.data(), nullptr};
  pid_t child = 0;
  ASSERT_EQ(posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&actions);

  const std::string title = "tarnwick-host - " + std::filesystem::canonical(dir.Path()).string();
  wxRect frame;
  const bool shown = RunEventsUntil([&] { return !(frame = TopLevelWindowRect(title)).IsEmpty(); }, 30s);
  int status = -1;
  if (shown) {
    // The pointer over the window gives it the keyboard (there is no window manager).
    wxUIActionSimulator simulator;
    simulator.MouseMove(frame.GetBottomLeft() + wxPoint(frame.width / 2, -8));
    simulator.MouseClick();
    RunEventsFor(300ms);
    simulator.Char('q', wxMOD_CONTROL);
    RunEventsUntil([&] { return waitpid(child, &status, WNOHANG) == child; }, 30s);
  }
  if (status == -1) {
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    status = -1;
  }
  ASSERT_TRUE(shown) << "no window titled " << title << "; the program said: " << tarnwick::test::ReadFileBytes(errors);
  ASSERT_TRUE(WIFEXITED(status)) << "Ctrl+Q did not end the program";
  EXPECT_EQ(WEXITSTATUS(status), 0);
  const std::string said = tarnwick::test::ReadFileBytes(errors);
  EXPECT_NE(said.find("plug-in skipped: " + dir.File("plugins/notes.so")), std::string::npos) << said;
  EXPECT_EQ(said.find("gui_probe.so"), std::string::npos) << "the probe loads: " << said;
}

}  // namespace
}  // namespace tarnwick::host::gui::test
