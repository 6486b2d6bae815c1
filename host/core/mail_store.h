#pragma once

#include "core/change_watch.h"
#include "core/host_settings.h"
#include "core/mailbox_file.h"
#include "core/mailbox_tree.h"
#include "core/store_status.h"
#include "core/toc_layout.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::host {

/// What a listing shows of one mailbox or folder.
struct MailboxInfo {
  int32_t id = 0;
  bool isMailbox = true;
  std::string name;
  std::string relativePath;
  std::string fullPath;
  int32_t parentId = 0;
  int depth = 0;
  bool leftOut = false;
};

/// What a listing shows of one message.
struct MessageInfo {
  uint32_t id = 0;
  int16_t state = kStateUnread;
  MessageSummary summary;
};

/// The id a change notice carries when the tree of mailboxes and folders changed (rather than the
/// messages of one mailbox).
inline constexpr int32_t kTreeChanged = 0;

/// Told about a change the store made: the id of the mailbox whose messages or states changed, or
/// kTreeChanged. Called on the thread that made the change, after the store let go of its lock.
using StoreChangeListener = std::function<void(int32_t changedId)>;

/// The host's mail store: the mailboxes and folders of one data folder with their messages. Every
/// method is thread-safe and complete in itself; the files are re-read whenever another program
/// changed them.
class MailStore {
public:
  /// Opens a data folder that exists, creating In, Out and Trash when they are missing.
  /// Null with `errorText` set when the folder is missing or unusable.
  static std::unique_ptr<MailStore> Open(const std::string& dataFolder, std::string& errorText);

  /// The data folder, as an absolute path.
  const std::string& DataFolder() const { return dataFolder_; }
  /// Whether the host's settings let plug-ins use the automation server (read afresh).
  bool AutomationEnabled();
  /// Switches the automation server on or off in the host's settings.
  StoreStatus SetAutomationEnabled(bool enabled);

  /// Reads the folder tree and the host's settings again (new or vanished mailboxes); tells the
  /// listener when the tree is not what it was.
  StoreStatus Rescan();
  /// The top-level ids in list order, as of the last rescan.
  std::vector<int32_t> TopLevel();
  /// The ids inside a folder in list order; empty for a mailbox or an unknown id.
  std::vector<int32_t> Children(int32_t id);
  /// Everything, depth first in list order.
  std::vector<MailboxInfo> AllInTreeOrder();
  /// The mailbox or folder with that id, as of the last rescan.
  std::optional<MailboxInfo> Info(int32_t id);
  /// A mailbox by display name (shallowest first) or, for a text holding "/" or ending in ".mbx",
  /// by its path relative to the data folder (or its full path); 0 when none.
  int32_t FindMailbox(const std::string& nameOrPath);
  /// Like FindMailbox, but a relative path may also name a folder ("News.fol"), and a display name
  /// that no mailbox has may name a folder; 0 when none.
  int32_t FindMailboxOrFolder(const std::string& nameOrPath);
  /// A mailbox by display name only; 0 when none.
  int32_t FindMailboxByName(const std::string& name);

  /// Creates a mailbox (or, with `isMailbox` false, a folder) named `name` at the top level
  /// (parentId 0) or in a folder. When it exists already, succeeds with its id and `created` false.
  StoreStatus Create(int32_t parentId, const std::string& name, bool isMailbox, int32_t* newId, bool* created);
  /// Marks a mailbox or folder as left out of plug-ins' lists, or not.
  StoreStatus SetLeftOut(int32_t id, bool leftOut);

  /// The number of messages and of unread messages of a mailbox.
  StoreStatus Counts(int32_t mailboxId, size_t* count, size_t* unread);
  /// The messages of a mailbox in file order.
  StoreStatus ListMessages(int32_t mailboxId, std::vector<MessageInfo>& messages);
  /// The id of the message at a 0-based position.
  StoreStatus MessageIdAt(int32_t mailboxId, size_t position, uint32_t* messageId);
  /// A message's bytes as stored in the mailbox file.
  StoreStatus ReadMessage(int32_t mailboxId, uint32_t messageId, std::string& bytes);
  /// The value of a message's "Message-Id" header, answered from the mailbox's index of them.
  StoreStatus MessageIdValue(int32_t mailboxId, uint32_t messageId, std::string& value);
  /// A message's state.
  StoreStatus MessageState(int32_t mailboxId, uint32_t messageId, int16_t* state);
  /// Sets a message's state.
  StoreStatus SetMessageState(int32_t mailboxId, uint32_t messageId, int16_t state);
  /// Appends a message of the host's own, given complete with its separator line and escaped body.
  StoreStatus AddMessage(int32_t mailboxId, std::string_view message, int16_t state, uint32_t* newId);
  /// Moves a message: appended to the target first, then removed from the source, so that a crash
  /// in between leaves it in both and never in neither. It keeps its state and gets a new id.
  StoreStatus MoveMessage(int32_t fromId, uint32_t messageId, int32_t toId, uint32_t* newId);

  /// Puts a complete message in place of one (a translator rewrote it): it keeps its id and state.
  /// The separator line is added when missing, line ends become CR LF; an empty message is refused.
  StoreStatus ReplaceMessage(int32_t mailboxId, uint32_t messageId, std::string_view message);

  /// Installs the listener told about every change the store makes (one; an empty function removes it).
  void SetChangeListener(StoreChangeListener listener);

  /// Installs a hook called at the fault points of writes (tests stop the program there).
  void SetFaultHook(FaultHook hook);

private:
  // Collects what one method changed and tells the listener once the method has let go of the
  // store's lock: declared before the lock, it is destroyed after it.
  class ChangeNotice {
  public:
    explicit ChangeNotice(MailStore& store) : store_(store) {}
    ~ChangeNotice();
    ChangeNotice(const ChangeNotice&) = delete;
    ChangeNotice& operator=(const ChangeNotice&) = delete;
    void Add(int32_t changedId) { changed_.push_back(changedId); }

  private:
    MailStore& store_;
    std::vector<int32_t> changed_;
  };

  explicit MailStore(std::string dataFolder);
  StoreStatus EnsureStandardMailboxes();
  MailboxInfo InfoOf(const MailboxNode& node) const;
  // The mailbox of that id, refreshed from its files; null with `status` set when unusable.
  MailboxFile* OpenMailbox(int32_t mailboxId, StoreStatus& status);
  StoreStatus PositionOf(MailboxFile& mailbox, uint32_t messageId, size_t* position);
  // What the folders and the settings file had seen of changes: equal marks, an unchanged tree.
  struct TreeMark {
    uint64_t entries = 0;
    ChangeStamp settings;
    bool operator==(const TreeMark&) const = default;
  };
  TreeMark CurrentTreeMark();
  // Follows the tree's folders; true when every one was followed already before the scan.
  bool FollowTreeFolders();

  std::mutex mutex_;
  std::string dataFolder_;
  HostSettings settings_;
  MailboxTree tree_;
  ChangeWatch changeWatch_;  // outlives the mailboxes that use it
  TreeMark scannedTree_;     // the marks when the tree was last read
  bool treeKnown_ = false;   // whether an unchanged mark means the tree is as it was read
  std::map<int32_t, std::unique_ptr<MailboxFile>> mailboxes_;
  FaultHook faultHook_;
  std::mutex listenerMutex_;
  StoreChangeListener listener_;
};

}  // namespace tarnwick::host
