#pragma once

#include <string>

namespace tarnwick::mailbox {

/// The number of messages that the host's table of contents at `tocPath` declares (the 16-bit count
/// at offset 102), or -1 when the file cannot be opened for reading and updating (it is never
/// written) or is shorter than its 104-byte header. A table shorter than its declared entries gives
/// the number of whole entries it holds.
int TocMessageCount(const std::string& tocPath);

/// The number of entries in state 0 (unread) among the whole entries of the table, or -1 when the
/// file cannot be opened for reading or is shorter than its header.
int TocUnreadCount(const std::string& tocPath);

}  // namespace tarnwick::mailbox
