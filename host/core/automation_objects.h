#pragma once

#include "platform/dispatch.h"

#include <cstdint>
#include <memory>

namespace tarnwick::host {

class HostCore;

// The objects of the host's automation server. Each holds the host weakly: once the host is gone
// every request fails with a clear text, and the object itself lives on until its holder lets go.

/// The application object: top-level collection, status text, mailbox by name or id, new message.
platform::DispatchPointer MakeApplicationObject(std::weak_ptr<HostCore> core);
/// A mailbox or folder by id.
platform::DispatchPointer MakeFolderObject(std::weak_ptr<HostCore> core, int32_t id);
/// The mailboxes and folders of a folder (parentId 0: the top level).
platform::DispatchPointer MakeFolderCollection(std::weak_ptr<HostCore> core, int32_t parentId);
/// The messages of a mailbox (empty for a folder).
platform::DispatchPointer MakeMessageCollection(std::weak_ptr<HostCore> core, int32_t mailboxId);
/// One message of a mailbox.
platform::DispatchPointer MakeMessageObject(std::weak_ptr<HostCore> core, int32_t mailboxId, uint32_t messageId);

/// The id of a folder object that `core` handed out, or 0 when `object` is anything else.
int32_t FolderIdOf(const platform::DispatchPointer& object, const HostCore* core);

}  // namespace tarnwick::host
