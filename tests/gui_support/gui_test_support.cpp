#include "gui_support/gui_test_support.h"

#include "gui_support/screen_capture.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/filename.h>
#include <wx/timer.h>
#include <wx/window.h>

#include <cstdlib>
#include <thread>

namespace tarnwick::test {
namespace {

void HandleWaitingEvents() {
  if (wxTheApp == nullptr) return;
  wxTheApp->ProcessPendingEvents();
  if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) {
    loop->YieldFor(wxEVT_CATEGORY_ALL);
  } else {
    wxEventLoopGuarantor guarantor;
    wxEventLoopBase::GetActive()->YieldFor(wxEVT_CATEGORY_ALL);
  }
  // Idle time is when windows closed with Destroy() really go.
  wxTheApp->ProcessIdle();
}

// Fires once a modal loop runs: the timer's events are only handled by an event loop, and the
// first loop after WhenModal is the dialog's.
class ModalActionTimer : public wxTimer {
public:
  explicit ModalActionTimer(std::function<void()> actions) : actions_(std::move(actions)) {}
  void Notify() override {
    if (!wxEventLoopBase::GetActive() || wxEventLoopBase::GetActive()->IsMain()) return;
    Stop();
    std::function<void()> actions = std::move(actions_);
    wxTheApp->CallAfter([this] { delete this; });
    actions();
  }

private:
  std::function<void()> actions_;
};

}  // namespace

bool RunEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    HandleWaitingEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

void RunEventsFor(std::chrono::milliseconds duration) {
  const auto deadline = std::chrono::steady_clock::now() + duration;
  (void)RunEventsUntil([&] { return std::chrono::steady_clock::now() >= deadline; }, duration * 2);
}

std::string SaveScreenshot(wxWindow* window, const std::string& name) {
  if (window == nullptr) return {};
  window->Raise();
  window->Update();
  RunEventsFor(std::chrono::milliseconds(300));
  return SaveScreenshot(window->GetScreenRect(), name);
}

std::string SaveScreenshot(const wxRect& screenRect, const std::string& name) {
  const char* folder = std::getenv("TARNWICK_SCREENSHOT_DIR");
  const wxString directory = folder != nullptr ? wxString(folder) : wxString("screenshots");
  wxFileName::Mkdir(directory, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
  const wxString path = directory + "/" + wxString::FromUTF8(name) + ".png";
  if (!CaptureScreen(screenRect, path)) return {};
  return path.utf8_string();
}

void WhenModal(std::function<void()> actions) {
  (new ModalActionTimer(std::move(actions)))->Start(20);
}

}  // namespace tarnwick::test
