#pragma once

#include <cstdint>

namespace tarnwick::platform {

/// The ProgID under which the host's automation server is reached.
inline constexpr char kMailAutomationProgId[] = "Eudora.EuApplication.1";

/// Members of the application object (the object a connection hands out).
enum ApplicationMember : int32_t {
  kApplicationFolders = 3,        ///< get: the collection of top-level mailboxes and folders
  kApplicationStatusText = 15,    ///< put text: the host's status-bar text
  kApplicationFolderByName = 27,  ///< call (name, 1): the mailbox of that display name, or nothing
  kApplicationFolderById = 28,    ///< call (id, 1): the mailbox or folder of that id, or nothing
  kApplicationQueueMessage = 29,  ///< call (to, subject, cc, bcc, attachment path, body): a new message in Out
};

/// Members of a collection (counted from 1).
enum CollectionMember : int32_t {
  kCollectionItem = 0,   ///< get (index): the object at that 1-based position
  kCollectionCount = 1,  ///< get: the number of objects
  kCollectionAdd = 3,    ///< call (name, 1 for a mailbox or 0 for a folder): creates it, gives the new folder
};

/// Members of a folder object, which stands for a mailbox or a folder of mailboxes.
enum FolderMember : int32_t {
  kFolderKind = 1,       ///< get: kFolderKindMailbox or kFolderKindFolder
  kFolderLeftOut = 4,    ///< get: 1 when the host leaves it out of mailbox lists, else 0
  kFolderChildren = 6,   ///< get: the collection of its mailboxes and folders (empty for a mailbox)
  kFolderPath = 7,       ///< get: the full path of its ".mbx" file or ".fol" folder
  kFolderId = 8,         ///< get: its id, stable while the host runs
  kFolderMessages = 10,  ///< get: the collection of its messages (empty for a folder)
  kFolderName = 11,      ///< get: its display name
  kFolderOpen = 15,      ///< call: opens its window in the host (mailboxes only)
};

/// Values of kFolderKind.
inline constexpr int32_t kFolderKindMailbox = 1;
inline constexpr int32_t kFolderKindFolder = 2;

/// Members of a message object.
enum MessageMember : int32_t {
  kMessageBody = 3,         ///< get: the body as the host shows it
  kMessageHeaderField = 7,  ///< get (field number): the value of that header line, or an empty text
  kMessageId = 8,           ///< get: its id within its mailbox
  kMessageRawText = 10,     ///< get: the whole message, header block first
  kMessageStatus = 13,      ///< get / put: its state number; 0 is unread
  kMessageSubject = 14,     ///< get: its subject
  kMessageMove = 16,        ///< call (folder): moves it into that mailbox
};

/// Field numbers of kMessageHeaderField.
enum MessageHeaderField : int32_t {
  kHeaderTo = 1,
  kHeaderFrom = 2,
  kHeaderSubject = 3,
  kHeaderCc = 4,
  kHeaderBcc = 5,
  kHeaderDate = 6,
  kHeaderReplyTo = 7,
  kHeaderMessageId = 8,
};

}  // namespace tarnwick::platform
