#pragma once

#include "core/host_core.h"
#include "platform/dispatch.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tarnwick::host {

/// How a member is reached.
enum class RequestKind { kGet, kPut, kCall };

/// The base of every automation object of the host: it checks that the host is still there and
/// turns anything thrown into an error text, so nothing escapes into a plug-in.
class HostObject : public platform::DispatchObject {
public:
  platform::DispatchResult Get(int32_t id, const platform::DispatchArguments& arguments) final;
  platform::DispatchResult Put(int32_t id, const platform::DispatchValue& value) final;
  platform::DispatchResult Call(int32_t id, const platform::DispatchArguments& arguments) final;

  /// The host that made this object, or null when it is gone.
  std::shared_ptr<HostCore> Core() const { return core_.lock(); }

protected:
  explicit HostObject(std::weak_ptr<HostCore> core) : core_(std::move(core)) {}
  /// Serves one request. A put passes its value as the only argument.
  virtual platform::DispatchResult Handle(HostCore& core, RequestKind kind, int32_t id,
                                          const platform::DispatchArguments& arguments) = 0;
  const std::weak_ptr<HostCore>& WeakCore() const { return core_; }

private:
  platform::DispatchResult Serve(RequestKind kind, int32_t id, const platform::DispatchArguments& arguments);

  std::weak_ptr<HostCore> core_;
};

/// True with `text` set when argument `index` is a text.
bool TextArgument(const platform::DispatchArguments& arguments, size_t index, std::string& text);
/// True with `number` set when argument `index` is a number.
bool NumberArgument(const platform::DispatchArguments& arguments, size_t index, int32_t& number);
/// True when argument `index` is absent (`number` := `fallback`) or a number (`number` := it).
bool OptionalNumberArgument(const platform::DispatchArguments& arguments, size_t index, int32_t& number,
                            int32_t fallback);
/// The failure for a member this object does not have.
platform::DispatchResult UnknownMember();
/// The failure for arguments of the wrong number or type.
platform::DispatchResult WrongArguments();
/// The failure carrying a store's reason.
platform::DispatchResult Failed(const StoreStatus& status);

}  // namespace tarnwick::host
