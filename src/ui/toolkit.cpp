#include "ui/toolkit.h"

#include "platform/library_pin.h"
#include "platform/ui_pump.h"
#include "ui/toolkit_instance.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/utils.h>
#include <wx/webview.h>

namespace tarnwick::ui {
namespace {

bool startedHere = false;

// Handles what waits without blocking: a running event loop yields once (native events and
// queued ones); without a loop only the queued events are handled. The application may be one
// without windows, so it is only ever used as the console application it surely is.
void DrainToolkitEvents() {
  if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) {
    loop->Yield(true);
  } else if (wxAppConsole* app = wxAppConsole::GetInstance()) {
    app->ProcessPendingEvents();
  }
}

// The toolkit's window and web view libraries, and the system's libraries under them, are not made
// to be unloaded: their load-time set-up (type registrations, tables built by their constructors)
// would be lost and made again at every unload and load of the module, and the web engine starts
// a thread of its own at load time (its memory scavenger) that would go on running in unmapped
// code. Once the module has brought them into the process they stay there, as they do in a host
// that makes windows of its own.
void KeepWindowLibrariesLoaded() {
  platform::KeepLibraryLoaded(reinterpret_cast<const void*>(&wxGetKeyState));
  platform::KeepLibraryLoaded(wxWebViewBackendDefault);
}

}  // namespace

void StartToolkit() {
  KeepWindowLibrariesLoaded();
  if (wxAppConsole::GetInstance() == nullptr) startedHere = StartOwnToolkit();
  platform::SetMessagePump(DrainToolkitEvents);
}

bool ToolkitMakesWindows() {
  if (startedHere) return HostShowsWindowsBesideOwnToolkit();
  const wxAppConsole* application = wxAppConsole::GetInstance();
  return application != nullptr && application->IsGUI();
}

void StopToolkit() {
  platform::SetMessagePump({});
  if (startedHere) StopOwnToolkit();
  startedHere = false;
}

}  // namespace tarnwick::ui
