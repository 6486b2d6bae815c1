#include "platform/automation_server.h"

#include "platform/com_dispatch_win32.h"
#include "platform/wide_text_win32.h"

#include <windows.h>
// After windows.h, which they need.
#include <objbase.h>
#include <oleauto.h>

#include <atomic>

namespace tarnwick::platform {
namespace {

// The class under which the stand-in mail client's application object is published.
// {A9F3C1D6-5E2B-4F87-8C41-7D2E96B0F5A3}
constexpr CLSID kApplicationClassId = {0xa9f3c1d6, 0x5e2b, 0x4f87, {0x8c, 0x41, 0x7d, 0x2e, 0x96, 0xb0, 0xf5, 0xa3}};
constexpr wchar_t kApplicationClassText[] = L"{A9F3C1D6-5E2B-4F87-8C41-7D2E96B0F5A3}";

// What the running object table holds: the application object, asked whether connections are
// allowed each time a plug-in asks it for its dispatch interface (which is how a connection starts).
class ApplicationEntry final : public IUnknown {
public:
  ApplicationEntry(DispatchPointer application, AutomationRefusal refusal)
      : application_(ServeDispatchObject(std::move(application))), refusal_(std::move(refusal)) {}
  ~ApplicationEntry() { application_->Release(); }
  ApplicationEntry(const ApplicationEntry&) = delete;
  ApplicationEntry& operator=(const ApplicationEntry&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** result) override {
    if (result == nullptr) return E_POINTER;
    *result = nullptr;
    if (id == IID_IUnknown) {
      *result = static_cast<IUnknown*>(this);
      AddRef();
      return S_OK;
    }
    if (id != IID_IDispatch) return E_NOINTERFACE;
    const std::string refused = refusal_();
    if (!refused.empty()) return Refuse(refused);
    application_->AddRef();
    *result = application_;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

private:
  // The reason goes with the refusal as the thread's error information.
  static HRESULT Refuse(const std::string& reason) {
    ICreateErrorInfo* creator = nullptr;
    if (SUCCEEDED(CreateErrorInfo(&creator))) {
      std::wstring wide = WideFromUtf8(reason);
      creator->SetDescription(wide.data());
      IErrorInfo* info = nullptr;
      if (SUCCEEDED(creator->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
        SetErrorInfo(0, info);
        info->Release();
      }
      creator->Release();
    }
    return E_ACCESSDENIED;
  }

  std::atomic<ULONG> references_{1};
  IDispatch* application_;
  AutomationRefusal refusal_;
};

// The ProgID names the class in the machine's part of the registry: Wine does not merge the
// user's part into the classes that CLSIDFromProgID reads.
bool RegisterProgId(const std::string& progId) {
  const std::wstring key = L"Software\\Classes\\" + WideFromUtf8(progId) + L"\\CLSID";
  HKEY handle = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const LSTATUS written = RegSetValueExW(
      handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kApplicationClassText), sizeof kApplicationClassText);
  RegCloseKey(handle);
  return written == ERROR_SUCCESS;
}

class RunningObjectEntry final : public AutomationServer {
public:
  explicit RunningObjectEntry(DWORD registration) : registration_(registration) {}
  ~RunningObjectEntry() override { RevokeActiveObject(registration_, nullptr); }
  RunningObjectEntry(const RunningObjectEntry&) = delete;
  RunningObjectEntry& operator=(const RunningObjectEntry&) = delete;

private:
  DWORD registration_;
};

}  // namespace

std::unique_ptr<AutomationServer> ServeAutomation(const std::string& progId, DispatchPointer application,
                                                  AutomationRefusal refusal, std::string& errorText) {
  if (!JoinComApartment()) {
    errorText = "COM is not available to this program.";
    return nullptr;
  }
  if (!RegisterProgId(progId)) {
    errorText = "The automation server cannot be registered as \"" + progId + "\".";
    return nullptr;
  }
  auto* entry = new ApplicationEntry(std::move(application), std::move(refusal));
  DWORD registration = 0;
  const HRESULT outcome = RegisterActiveObject(entry, kApplicationClassId, ACTIVEOBJECT_STRONG, &registration);
  entry->Release();  // the running object table holds it now
  if (FAILED(outcome)) {
    errorText = ComErrorText(outcome);
    return nullptr;
  }
  return std::make_unique<RunningObjectEntry>(registration);
}

}  // namespace tarnwick::platform
