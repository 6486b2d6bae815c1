#pragma once

namespace tarnwick::automation {

// Every text of the automation module.

/// The path that MailboxPathCreating gives when it has none.
inline constexpr char kNoPath[] = "-1";

}  // namespace tarnwick::automation
