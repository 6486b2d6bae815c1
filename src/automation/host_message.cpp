#include "automation/host_message.h"

#include "automation/host_values.h"
#include "platform/dispatch_ids.h"

namespace tarnwick::automation {

std::string HostMessage::Body() const {
  return TextOf(object_, platform::kMessageBody);
}

std::string HostMessage::HeaderField(int field) const {
  return TextOf(object_, platform::kMessageHeaderField, {field});
}

std::string HostMessage::MessageIdLine() const {
  return HeaderField(platform::kHeaderMessageId);
}

int HostMessage::Id() const {
  return NumberOf(object_, platform::kMessageId);
}

std::string HostMessage::RawText() const {
  return TextOf(object_, platform::kMessageRawText);
}

bool HostMessage::SetStatus(int status) const {
  return object_ && object_->Put(platform::kMessageStatus, status).ok;
}

std::string HostMessage::Title() const {
  return TextOf(object_, platform::kMessageSubject);
}

bool HostMessage::MoveTo(const HostFolder& target) const {
  return object_ && object_->Call(platform::kMessageMove, {target.Object()}).ok;
}

}  // namespace tarnwick::automation
