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

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

// Finds a window of the calling thread made by another module than this one: the host's.
BOOL CALLBACK FindHostWindow(HWND window, LPARAM found) {
  if (reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)) == ThisModule()) return TRUE;
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

}  // namespace

bool StartOwnToolkit() {
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(ThisModule()) || !wxTheApp->CallOnInit()) {
    wxEntryCleanup();
    return false;
  }
  eventTimer = new QueuedEventTimer;
  eventTimer->Start(kEventIntervalMs);
  return true;
}

void StopOwnToolkit() {
  delete eventTimer;
  eventTimer = nullptr;
  if (wxTheApp != nullptr) wxTheApp->OnExit();
  wxEntryCleanup();
}

bool HostShowsWindowsBesideOwnToolkit() {
  bool found = false;
  EnumThreadWindows(GetCurrentThreadId(), FindHostWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace tarnwick::ui
