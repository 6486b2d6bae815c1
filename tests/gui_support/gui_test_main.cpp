// The main of every test program that makes windows. It readies the program's own display
// (test_display.h), sends the toolkit's log to standard error, keeps message boxes from ever
// blocking, and ends the program with a clear message when one test runs past its time limit
// (TARNWICK_GUI_TEST_SECONDS, default 90).
#include "gui_support/test_display.h"
#include "platform/message_box.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
        tarnwick::test::EndTestDisplayAtOnce();
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

  if (!tarnwick::test::StartTestDisplay()) return 1;

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
  tarnwick::test::StopTestDisplay();
  return status;
}
