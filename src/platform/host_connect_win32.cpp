#include "platform/host_connect.h"

#include "platform/com_dispatch_win32.h"
#include "platform/wide_text_win32.h"

#include <windows.h>
// After windows.h, which they need.
#include <objbase.h>
#include <oleauto.h>

namespace tarnwick::platform {
namespace {

std::string Quoted(const std::string& progId) {
  return "\"" + progId + "\"";
}

// The reason that the server gave with its refusal, or the result code's text.
std::string RefusalText(HRESULT outcome) {
  IErrorInfo* info = nullptr;
  std::string text;
  if (GetErrorInfo(0, &info) == S_OK && info != nullptr) {
    BSTR description = nullptr;
    if (SUCCEEDED(info->GetDescription(&description)) && description != nullptr) {
      text = Utf8FromWide(std::wstring_view(description, SysStringLen(description)));
    }
    SysFreeString(description);
    info->Release();
  }
  return text.empty() ? ComErrorText(outcome) : text;
}

}  // namespace

// As a plug-in of the real mail client connects: the class of the ProgID, its running instance
// from the running object table, and that instance's dispatch interface.
AutomationConnectResult ConnectAutomationServer(const std::string& progId) {
  if (!JoinComApartment()) return {nullptr, "This thread cannot use COM to reach " + Quoted(progId) + "."};
  CLSID classId{};
  if (FAILED(CLSIDFromProgID(WideFromUtf8(progId).c_str(), &classId))) {
    return {nullptr, "The host mail client that serves " + Quoted(progId) +
                         " is not running, nor installed: no program registered it."};
  }
  IUnknown* running = nullptr;
  if (FAILED(GetActiveObject(classId, nullptr, &running)) || running == nullptr) {
    return {nullptr, "The host mail client that serves " + Quoted(progId) + " is not running: start it first."};
  }
  IDispatch* dispatch = nullptr;
  const HRESULT outcome = running->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
  running->Release();
  if (FAILED(outcome) || dispatch == nullptr) return {nullptr, RefusalText(outcome)};
  DispatchPointer application = CallDispatchObject(dispatch);
  dispatch->Release();
  return {application, {}};
}

}  // namespace tarnwick::platform
