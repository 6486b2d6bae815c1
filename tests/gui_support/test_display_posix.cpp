// The program's display on X11: a private X server (Xvfb) for the program, so tests never share a
// display or steal each other's input, and the desktop's cache, data and config folders in a
// scratch folder (WebKit writes there). TARNWICK_GUI_DISPLAY=:N uses an existing display instead
// (to watch the tests).
#include "gui_support/test_display.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace tarnwick::test {
namespace {

// The private X server, ended by the watchdog too, so that no server outlives a program it ended.
pid_t privateDisplay = -1;

pid_t StartPrivateDisplay() {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return -1;
  const pid_t server = fork();
  if (server == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // a test program that crashes takes its server with it
    close(pipeEnds[0]);
    const std::string fd = std::to_string(pipeEnds[1]);
    const int devNull = open("/dev/null", O_WRONLY);
    if (devNull >= 0) dup2(devNull, STDERR_FILENO);
    if (devNull >= 0) dup2(devNull, STDOUT_FILENO);  // a server left behind must not hold the output open
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeEnds[1]);
  char number[16] = {};
  ssize_t got = 0;
  while (got < static_cast<ssize_t>(sizeof number) - 1) {
    const ssize_t n = read(pipeEnds[0], number + got, sizeof number - 1 - got);
    if (n <= 0) break;
    got += n;
    if (std::strchr(number, '\n') != nullptr) break;
  }
  close(pipeEnds[0]);
  if (got <= 0) {
    std::fprintf(stderr, "gui tests: Xvfb did not start (is the package xvfb installed?)\n");
    return -1;
  }
  setenv("DISPLAY", (":" + std::string(number, std::strcspn(number, "\n"))).c_str(), 1);
  return server;
}

void PointDesktopFoldersInto(const std::filesystem::path& scratch) {
  for (const char* name : {"XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) {
    const std::filesystem::path folder = scratch / name;
    std::filesystem::create_directories(folder);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    setenv(name, folder.c_str(), 1);
  }
}

std::filesystem::path ScratchFolder() {
  return std::filesystem::temp_directory_path() / ("tarnwick-gui-" + std::to_string(getpid()));
}

}  // namespace

bool StartTestDisplay() {
  if (const char* display = std::getenv("TARNWICK_GUI_DISPLAY")) {
    setenv("DISPLAY", display, 1);
  } else if ((privateDisplay = StartPrivateDisplay()) < 0) {
    return false;
  }
  PointDesktopFoldersInto(ScratchFolder());
  setenv("GTK_A11Y", "none", 1);
  // Xvfb has no GPU buffers to share: without this the web engine draws nothing on it.
  setenv("WEBKIT_DISABLE_DMABUF_RENDERER", "1", 0);
  setenv("NO_AT_BRIDGE", "1", 1);
  return true;
}

void StopTestDisplay() {
  if (privateDisplay > 0) {
    kill(privateDisplay, SIGTERM);
    waitpid(privateDisplay, nullptr, 0);
  }
  std::error_code ignored;
  std::filesystem::remove_all(ScratchFolder(), ignored);
}

void EndTestDisplayAtOnce() {
  if (privateDisplay > 0) kill(privateDisplay, SIGTERM);
}

}  // namespace tarnwick::test
