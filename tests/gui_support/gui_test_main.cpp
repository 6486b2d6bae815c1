// The main of every test program that makes windows. It starts a private X server (Xvfb) for the
// program, so tests never share a display or steal each other's input, points the desktop's
// cache, data and config folders into a scratch folder (WebKit writes there), sends the toolkit's
// log to standard error, keeps message boxes from ever blocking, and ends the program with a clear
// message when one test runs past its time limit (TARNWICK_GUI_TEST_SECONDS, default 90).
// TARNWICK_GUI_DISPLAY=:N uses an existing display instead (to watch the tests).
#include "platform/message_box.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

// Fontconfig keeps the caches it builds the first time a window lays out text, and the web engine's
// script library the objects of its first pages, until the program ends without freeing them; the
// leak checker of the sanitizer tree is told so, and nothing else.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libjavascriptcoregtk-4.0.so\nleak:libwebkit2gtk-4.0.so\n";
}

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

// Ends the program when one test runs longer than its limit: a hung modal dialog must fail the
// run with a message instead of holding it until the outer time-out.
class Watchdog : public testing::EmptyTestEventListener {
public:
  explicit Watchdog(std::chrono::seconds limit) : limit_(limit), thread_([this] { Watch(); }) {}
  ~Watchdog() override {
    {
      std::lock_guard guard(mutex_);
      finished_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  void OnTestStart(const testing::TestInfo& test) override {
    Arm(std::string(test.test_suite_name()) + "." + test.name());
  }
  void OnTestEnd(const testing::TestInfo&) override { Arm({}); }

private:
  void Arm(std::string test) {
    std::lock_guard guard(mutex_);
    current_ = std::move(test);
    deadline_ = std::chrono::steady_clock::now() + limit_;
    wake_.notify_all();
  }
  void Watch() {
    std::unique_lock guard(mutex_);
    while (!finished_) {
      if (!current_.empty() && std::chrono::steady_clock::now() >= deadline_) {
        std::fprintf(stderr, "gui tests: %s ran past its limit of %lld s; ending the program\n", current_.c_str(),
                     static_cast<long long>(limit_.count()));
        std::fflush(stderr);
        if (privateDisplay > 0) kill(privateDisplay, SIGTERM);
        std::_Exit(3);
      }
      wake_.wait_for(guard, std::chrono::milliseconds(200));
    }
  }

  std::chrono::seconds limit_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::string current_;
  std::chrono::steady_clock::time_point deadline_;
  bool finished_ = false;
  std::thread thread_;
};

bool OnlyListing(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--gtest_list_tests") == 0) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (OnlyListing(argc, argv)) return RUN_ALL_TESTS();

  pid_t server = -1;
  if (const char* display = std::getenv("TARNWICK_GUI_DISPLAY")) {
    setenv("DISPLAY", display, 1);
  } else if ((server = StartPrivateDisplay()) < 0) {
    return 1;
  }
  privateDisplay = server;
  const std::filesystem::path scratch =
      std::filesystem::temp_directory_path() / ("tarnwick-gui-" + std::to_string(getpid()));
  PointDesktopFoldersInto(scratch);
  setenv("GTK_A11Y", "none", 1);
  // Xvfb has no GPU buffers to share: without this the web engine draws nothing on it.
  setenv("WEBKIT_DISABLE_DMABUF_RENDERER", "1", 0);
  setenv("NO_AT_BRIDGE", "1", 1);

  tarnwick::platform::SetMessageBoxHandler([](const std::string& text, const std::string& caption) {
    std::fprintf(stderr, "gui tests: message box \"%s\": %s\n", caption.c_str(), text.c_str());
  });

  int status = 1;
  wxApp::SetInstance(new wxApp);
  if (wxEntryStart(argc, argv) && wxTheApp != nullptr && wxTheApp->CallOnInit()) {
    delete wxLog::SetActiveTarget(new wxLogStderr);
    // A failed assertion of the toolkit fails the test at hand instead of opening a dialog that
    // nobody answers.
    wxSetAssertHandler([](const wxString& file, int line, const wxString& function, const wxString& condition,
                          const wxString& message) {
      ADD_FAILURE_AT(file.utf8_string().c_str(), line) << "toolkit assertion in " << function.utf8_string() << ": "
                                                       << condition.utf8_string() << " " << message.utf8_string();
    });
    const char* limitText = std::getenv("TARNWICK_GUI_TEST_SECONDS");
    const int limit = limitText != nullptr ? std::atoi(limitText) : 90;
    testing::UnitTest::GetInstance()->listeners().Append(new Watchdog(std::chrono::seconds(limit > 0 ? limit : 90)));
    status = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
  } else {
    std::fprintf(stderr, "gui tests: the toolkit could not start on display %s\n", std::getenv("DISPLAY"));
  }
  if (server > 0) {
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
  }
  std::error_code ignored;
  std::filesystem::remove_all(scratch, ignored);
  return status;
}
