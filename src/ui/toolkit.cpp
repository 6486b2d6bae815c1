#include "ui/toolkit.h"

#include "platform/ui_pump.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>

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

}  // namespace

void StartToolkit() {
  if (wxAppConsole::GetInstance() == nullptr) startedHere = wxInitialize();
  platform::SetMessagePump(DrainToolkitEvents);
}

void StopToolkit() {
  platform::SetMessagePump({});
  if (startedHere) wxUninitialize();
  startedHere = false;
}

}  // namespace tarnwick::ui
