// The toolkit is linked into the module, apart from whatever toolkit the host uses: the module runs
// a windowed application of its own, whose window classes and resources belong to the module's
// file. The host's message loop delivers the windows' messages; a timer of the module handles the
// events queued for its application (from other threads, or for later) and its idle time, which
// no loop of the module's own would otherwise run.
#include "ui/toolkit_instance.h"

#include <wx/app.h>
#include <wx/init.h>
#include <wx/timer.h>

#include <windows.h>

namespace tarnwick::ui {
namespace {

constexpr int kEventIntervalMs = 30;

class QueuedEventTimer : public wxTimer {
public:
  void Notify() override {
    if (wxTheApp == nullptr) return;
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();  // windows closed with Destroy() go at idle time
  }
};

QueuedEventTimer* eventTimer = nullptr;
bool applicationStarted = false;

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

// Finds a framed window (one with a title bar) of the calling thread made by another module than
// this one: the host's. The system's own windows on the thread (the input method's) have no frame.
BOOL CALLBACK FindHostWindow(HWND window, LPARAM found) {
  if (reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)) == ThisModule()) return TRUE;
  if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION) != WS_CAPTION) return TRUE;
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

// Starts the application for real; not while the system loads the module (under its loader lock,
// where the toolkit's start-up could wait forever for the lock the loader holds).
void StartApplication() {
  if (applicationStarted) return;
  applicationStarted = true;
  wxApp::SetInstance(new wxApp);
  // Started without its OnInit, which would take the host program's command line as its own.
  if (!wxEntryStart(ThisModule())) {
    wxEntryCleanup();
    return;
  }
  eventTimer = new QueuedEventTimer;
  eventTimer->Start(kEventIntervalMs);
}

}  // namespace

bool StartOwnToolkit() {
  // In a module file the start comes from the module's application object while the system loads
  // the module: the application then starts at the first question whether windows can be shown.
  // Linked into a program, it starts now.
  if (ThisModule() == GetModuleHandleW(nullptr)) StartApplication();
  return true;
}

void StopOwnToolkit() {
  if (!applicationStarted) return;
  applicationStarted = false;
  delete eventTimer;
  eventTimer = nullptr;
  if (wxTheApp != nullptr) wxTheApp->OnExit();
  wxEntryCleanup();
}

bool HostShowsWindowsBesideOwnToolkit() {
  // Looked for before the application starts: a host without windows never gets one of the
  // module's, whose ending would otherwise fall to the module's unloading.
  bool found = false;
  EnumThreadWindows(GetCurrentThreadId(), FindHostWindow, reinterpret_cast<LPARAM>(&found));
  if (!found) return false;
  StartApplication();
  return wxTheApp != nullptr;
}

}  // namespace tarnwick::ui
