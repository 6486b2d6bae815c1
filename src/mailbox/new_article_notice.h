#pragma once

#include <cstdint>
#include <string>

namespace tarnwick::mailbox {

/// What the Newsboard learns of each article moved into a newsbox.
struct NewArticleNotice {
  std::string headerBlock;  // the message's text up to and including its first empty line
  std::string body;         // the body as the host reports it
  int32_t messageId = -1;   // the host's id of the message
  std::string newsboxName;
  std::string newsboxPath;  // the newsbox's file as the host reports it
  int32_t newsboxId = -1;
};

/// Receives the notices ("uiNewArticle") while a check delivers; the Newsboard implements it. The
/// notice is only valid during the call: a receiver copies what it keeps.
class NewArticleReceiver {
public:
  virtual ~NewArticleReceiver() = default;
  virtual void OnNewArticle(const NewArticleNotice& notice) = 0;
};

/// Where the delivery shows its progress: the main window's progress bar and status lines.
class DeliveryProgress {
public:
  virtual ~DeliveryProgress() = default;
  /// The progress bar, 0 to 100.
  virtual void SetProgress(int percent) = 0;
  /// The general status line.
  virtual void ShowGeneralStatus(const std::string& text) = 0;
  /// The details status line.
  virtual void ShowDetailsStatus(const std::string& text) = 0;
};

}  // namespace tarnwick::mailbox
