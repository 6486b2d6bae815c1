#include "platform/com_dispatch_win32.h"

#include "platform/wide_text_win32.h"

#include <windows.h>
// After windows.h, which they need.
#include <oleauto.h>

#include <atomic>
#include <string>
#include <vector>

namespace tarnwick::platform {
namespace {

// Asked of an IDispatch to learn whether it serves an object of this very module. Made afresh in
// each module, so that objects of another module (the host's, for a plug-in) are always called
// through IDispatch and never taken apart as C++ objects.
const IID& ServedObjectId() {
  static const IID id = [] {
    IID made{};
    if (FAILED(CoCreateGuid(&made))) made = IID_NULL;
    return made;
  }();
  return id;
}

constexpr char kNoTextText[] = "The automation server failed without giving a reason";

std::string TextOf(BSTR text) {
  return text == nullptr ? std::string() : Utf8FromWide(std::wstring_view(text, SysStringLen(text)));
}

// The value as a VARIANT that the receiver owns.
VARIANT ToVariant(const DispatchValue& value) {
  VARIANT variant;
  VariantInit(&variant);
  if (value.IsText()) {
    const std::wstring wide = WideFromUtf8(value.Text());
    variant.vt = VT_BSTR;
    variant.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  } else if (value.IsNumber()) {
    variant.vt = VT_I4;
    variant.lVal = value.Number();
  } else if (value.IsObject()) {
    variant.vt = VT_DISPATCH;
    variant.pdispVal = ServeDispatchObject(value.Object());
  }
  return variant;
}

DispatchValue FromVariant(const VARIANT& given) {
  const VARIANT* variant = &given;
  if (variant->vt == (VT_VARIANT | VT_BYREF) && variant->pvarVal != nullptr) variant = variant->pvarVal;
  switch (variant->vt) {
    case VT_BSTR:
      return DispatchValue(TextOf(variant->bstrVal));
    case VT_DISPATCH:
      return variant->pdispVal != nullptr ? DispatchValue(CallDispatchObject(variant->pdispVal)) : DispatchValue();
    case VT_EMPTY:
    case VT_NULL:
      return {};
    default: {
      VARIANT number;
      VariantInit(&number);
      if (FAILED(VariantChangeType(&number, const_cast<VARIANT*>(variant), 0, VT_I4))) return {};
      return DispatchValue(static_cast<int32_t>(number.lVal));
    }
  }
}

// Serves one object; its requests go straight to the object on the caller's thread.
class ServedObject final : public IDispatch {
public:
  explicit ServedObject(DispatchPointer object) : object_(std::move(object)) {}

  const DispatchPointer& Object() const { return object_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** result) override {
    if (result == nullptr) return E_POINTER;
    *result = nullptr;
    if (id == IID_IUnknown || id == IID_IDispatch || (id == ServedObjectId() && id != IID_NULL)) {
      *result = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count != nullptr) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  // Members are reached by number only, as the object model publishes them.
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                   EXCEPINFO* exception, UINT*) override {
    try {
      DispatchArguments arguments;
      // The arguments arrive last first.
      for (UINT i = parameters != nullptr ? parameters->cArgs : 0; i > 0; --i) {
        arguments.push_back(FromVariant(parameters->rgvarg[i - 1]));
      }
      DispatchResult outcome;
      if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
        outcome = arguments.size() == 1 ? object_->Put(member, arguments.front())
                                        : DispatchResult::Failure("A property takes one value.");
      } else if ((flags & DISPATCH_PROPERTYGET) != 0) {
        outcome = object_->Get(member, arguments);
      } else {
        outcome = object_->Call(member, arguments);
      }
      if (!outcome.ok) return Raise(exception, outcome.errorText);
      if (result != nullptr) *result = ToVariant(outcome.value);
      return S_OK;
    } catch (...) {
      return Raise(exception, kNoTextText);
    }
  }

private:
  static HRESULT Raise(EXCEPINFO* exception, const std::string& text) {
    if (exception == nullptr) return E_FAIL;
    *exception = EXCEPINFO{};
    const std::wstring wide = WideFromUtf8(text);
    exception->bstrDescription = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    exception->scode = E_FAIL;
    return DISP_E_EXCEPTION;
  }

  std::atomic<ULONG> references_{1};
  DispatchPointer object_;
};

// Calls an object of another program (or of another module of this one) by dispatch id.
class CalledObject final : public DispatchObject {
public:
  explicit CalledObject(IDispatch* dispatch) : dispatch_(dispatch) { dispatch_->AddRef(); }
  ~CalledObject() override { dispatch_->Release(); }
  CalledObject(const CalledObject&) = delete;
  CalledObject& operator=(const CalledObject&) = delete;

  IDispatch* Dispatch() const { return dispatch_; }

  DispatchResult Get(int32_t id, const DispatchArguments& arguments) override {
    return Invoke(id, DISPATCH_PROPERTYGET, arguments);
  }
  DispatchResult Put(int32_t id, const DispatchValue& value) override {
    return Invoke(id, DISPATCH_PROPERTYPUT, {value});
  }
  DispatchResult Call(int32_t id, const DispatchArguments& arguments) override {
    return Invoke(id, DISPATCH_METHOD, arguments);
  }

private:
  DispatchResult Invoke(int32_t id, WORD flags, const DispatchArguments& arguments) {
    if (!JoinComApartment()) return DispatchResult::Failure("This thread cannot use COM.");
    std::vector<VARIANT> variants;
    for (auto argument = arguments.rbegin(); argument != arguments.rend(); ++argument) {
      variants.push_back(ToVariant(*argument));
    }
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{variants.data(), nullptr, static_cast<UINT>(variants.size()), 0};
    if (flags == DISPATCH_PROPERTYPUT) {
      parameters.rgdispidNamedArgs = &putId;
      parameters.cNamedArgs = 1;
    }
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO exception{};
    const HRESULT outcome = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                                              flags == DISPATCH_PROPERTYPUT ? nullptr : &result, &exception, nullptr);
    for (VARIANT& variant : variants) VariantClear(&variant);
    if (FAILED(outcome)) return Failure(outcome, exception);
    DispatchValue value = FromVariant(result);
    VariantClear(&result);
    return DispatchResult::Success(std::move(value));
  }

  static DispatchResult Failure(HRESULT outcome, EXCEPINFO& exception) {
    if (exception.pfnDeferredFillIn != nullptr) exception.pfnDeferredFillIn(&exception);
    std::string text = TextOf(exception.bstrDescription);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
    if (text.empty()) text = ComErrorText(outcome);
    return DispatchResult::Failure(text);
  }

  IDispatch* dispatch_;
};

}  // namespace

bool JoinComApartment() {
  thread_local const bool joined = [] {
    const HRESULT outcome = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    // A thread that chose a single-threaded apartment itself keeps it; COM still works there.
    return SUCCEEDED(outcome) || outcome == RPC_E_CHANGED_MODE;
  }();
  return joined;
}

std::string ComErrorText(long outcome) {
  char code[16];
  wsprintfA(code, "0x%08lX", static_cast<unsigned long>(outcome));
  return std::string("The automation server failed (error ") + code + ").";
}

IDispatch* ServeDispatchObject(DispatchPointer object) {
  // An object of another program that passes through is handed back as it came.
  if (auto* called = dynamic_cast<CalledObject*>(object.get())) {
    called->Dispatch()->AddRef();
    return called->Dispatch();
  }
  return new ServedObject(std::move(object));
}

DispatchPointer CallDispatchObject(IDispatch* dispatch) {
  IUnknown* served = nullptr;
  if (SUCCEEDED(dispatch->QueryInterface(ServedObjectId(), reinterpret_cast<void**>(&served)))) {
    DispatchPointer object = static_cast<ServedObject*>(static_cast<IDispatch*>(served))->Object();
    served->Release();
    return object;
  }
  return std::make_shared<CalledObject>(dispatch);
}

}  // namespace tarnwick::platform
