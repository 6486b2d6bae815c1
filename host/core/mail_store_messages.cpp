// The message half of MailStore: listing, reading, state changes, adding and moving messages.
#include "core/host_texts.h"
#include "core/mail_store.h"
#include "core/mbox_format.h"

#include <ctime>

namespace tarnwick::host {
namespace {

// A message made fit to be appended to a mailbox: a separator line first, CR LF line ends, and a
// line end at its end (messages read from files of other programs may lack any of these).
std::string PrepareForAppend(std::string_view stored) {
  std::string message;
  if (!IsSeparatorLine(stored)) message = SeparatorLine(std::time(nullptr)) + "\r\n";
  message += WithCrLfLineEnds(stored);
  if (message.back() != '\n') message += "\r\n";
  return message;
}

}  // namespace

MailboxFile* MailStore::OpenMailbox(int32_t mailboxId, StoreStatus& status) {
  const MailboxNode* node = tree_.Find(mailboxId);
  if (node == nullptr) {
    status = StoreStatus::Failure(kMailboxGoneText);
    return nullptr;
  }
  if (!node->isMailbox) {
    status = StoreStatus::Failure(kNotAMailboxText);
    return nullptr;
  }
  std::unique_ptr<MailboxFile>& mailbox = mailboxes_[mailboxId];
  if (!mailbox) {
    mailbox = std::make_unique<MailboxFile>(tree_.FullPath(*node));
    mailbox->SetFaultHook(faultHook_);
    mailbox->SetChangeWatch(&changeWatch_);
  }
  status = mailbox->Refresh();
  return status.ok ? mailbox.get() : nullptr;
}

StoreStatus MailStore::PositionOf(MailboxFile& mailbox, uint32_t messageId, size_t* position) {
  std::optional<size_t> found = mailbox.PositionOf(messageId);
  if (!found) return StoreStatus::Failure(kMessageGoneText);
  *position = *found;
  return StoreStatus::Success();
}

StoreStatus MailStore::Counts(int32_t mailboxId, size_t* count, size_t* unread) {
  std::lock_guard lock(mutex_);
  StoreStatus status;
  MailboxFile* mailbox = OpenMailbox(mailboxId, status);
  if (mailbox == nullptr) return status;
  if (count != nullptr) *count = mailbox->Count();
  if (unread != nullptr) *unread = mailbox->UnreadCount();
  return status;
}

StoreStatus MailStore::ListMessages(int32_t mailboxId, std::vector<MessageInfo>& messages) {
  std::lock_guard lock(mutex_);
  messages.clear();
  StoreStatus status;
  MailboxFile* mailbox = OpenMailbox(mailboxId, status);
  if (mailbox == nullptr) return status;
  messages.reserve(mailbox->Count());
  for (const TocEntry& entry : mailbox->Entries()) messages.push_back({entry.id, entry.state, entry.summary});
  return status;
}

StoreStatus MailStore::MessageIdAt(int32_t mailboxId, size_t position, uint32_t* messageId) {
  std::lock_guard lock(mutex_);
  StoreStatus status;
  MailboxFile* mailbox = OpenMailbox(mailboxId, status);
  if (mailbox == nullptr) return status;
  if (position >= mailbox->Count()) return StoreStatus::Failure(kIndexOutOfRangeText);
  *messageId = mailbox->EntryAt(position).id;
  return status;
}

StoreStatus MailStore::ReadMessage(int32_t mailboxId, uint32_t messageId, std::string& bytes) {
  std::lock_guard lock(mutex_);
  StoreStatus status;
  MailboxFile* mailbox = OpenMailbox(mailboxId, status);
  size_t position = 0;
  if (mailbox == nullptr || !(status = PositionOf(*mailbox, messageId, &position)).ok) return status;
  return mailbox->Read(position, bytes);
}

StoreStatus MailStore::MessageIdValue(int32_t mailboxId, uint32_t messageId, std::string& value) {
  std::lock_guard lock(mutex_);
  StoreStatus status;
  MailboxFile* mailbox = OpenMailbox(mailboxId, status);
  size_t position = 0;
  if (mailbox == nullptr || !(status = PositionOf(*mailbox, messageId, &position)).ok) return status;
  return mailbox->MessageIdValue(position, value);
}

StoreStatus MailStore::MessageState(int32_t mailboxId, uint32_t messageId, int16_t* state) {
  std::lock_guard lock(mutex_);
  StoreStatus status;
  MailboxFile* mailbox = OpenMailbox(mailboxId, status);
  size_t position = 0;
  if (mailbox == nullptr || !(status = PositionOf(*mailbox, messageId, &position)).ok) return status;
  *state = mailbox->EntryAt(position).state;
  return status;
}

StoreStatus MailStore::SetMessageState(int32_t mailboxId, uint32_t messageId, int16_t state) {
  ChangeNotice notice(*this);
  std::lock_guard lock(mutex_);
  StoreStatus status;
  MailboxFile* mailbox = OpenMailbox(mailboxId, status);
  size_t position = 0;
  if (mailbox == nullptr || !(status = PositionOf(*mailbox, messageId, &position)).ok) return status;
  const bool differs = mailbox->EntryAt(position).state != state;
  status = mailbox->SetState(position, state);
  if (status.ok && differs) notice.Add(mailboxId);
  return status;
}

StoreStatus MailStore::AddMessage(int32_t mailboxId, std::string_view message, int16_t state, uint32_t* newId) {
  ChangeNotice notice(*this);
  std::lock_guard lock(mutex_);
  StoreStatus status;
  MailboxFile* mailbox = OpenMailbox(mailboxId, status);
  if (mailbox == nullptr) return status;
  status = mailbox->Append(PrepareForAppend(message), state, newId);
  if (status.ok) notice.Add(mailboxId);
  return status;
}

StoreStatus MailStore::ReplaceMessage(int32_t mailboxId, uint32_t messageId, std::string_view message) {
  ChangeNotice notice(*this);
  std::lock_guard lock(mutex_);
  if (message.empty()) return StoreStatus::Failure(kEmptyMessageText);
  StoreStatus status;
  MailboxFile* mailbox = OpenMailbox(mailboxId, status);
  size_t position = 0;
  if (mailbox == nullptr || !(status = PositionOf(*mailbox, messageId, &position)).ok) return status;
  status = mailbox->Replace(position, PrepareForAppend(message));
  if (status.ok) notice.Add(mailboxId);
  return status;
}

StoreStatus MailStore::MoveMessage(int32_t fromId, uint32_t messageId, int32_t toId, uint32_t* newId) {
  ChangeNotice notice(*this);
  std::lock_guard lock(mutex_);
  StoreStatus status;
  MailboxFile* from = OpenMailbox(fromId, status);
  if (from == nullptr) return status;
  MailboxFile* to = OpenMailbox(toId, status);
  if (to == nullptr) return status;
  size_t position = 0;
  if (!(status = PositionOf(*from, messageId, &position)).ok) return status;
  if (from == to) {
    if (newId != nullptr) *newId = messageId;
    return status;
  }
  std::string stored;
  if (!(status = from->Read(position, stored)).ok) return status;
  uint32_t appendedId = 0;
  if (!(status = to->Append(PrepareForAppend(stored), from->EntryAt(position).state, &appendedId)).ok) return status;
  notice.Add(toId);
  if (faultHook_) faultHook_("appended");
  status = from->Remove(position);
  if (!status.ok) {
    // Take the copy back out so the message is in one mailbox only; if even that fails it stays in
    // both, which loses nothing.
    if (to->Count() > 0 && to->EntryAt(to->Count() - 1).id == appendedId) (void)to->Remove(to->Count() - 1);
    return status;
  }
  notice.Add(fromId);
  if (newId != nullptr) *newId = appendedId;
  return status;
}

}  // namespace tarnwick::host
