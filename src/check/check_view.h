#pragma once

#include "mailbox/new_article_notice.h"

namespace tarnwick::check {

/// The window a check run reports to: the main window, or a terminal when headless. Besides the
/// progress bar and the two status lines it has the run's controls and a busy look.
class CheckView : public mailbox::DeliveryProgress {
public:
  /// Enables the controls a run locks (lists, Add, Edit, Delete, Download, Newsboard, Help, Close)
  /// and disables Stop, or the other way round.
  virtual void SetRunControlsEnabled(bool enabled) = 0;
  /// Shows or ends the busy look: the busy cursor and the animated status image.
  virtual void ShowBusy(bool busy) = 0;
  /// Makes the window the active one again, on top and focused.
  virtual void FocusWindow() = 0;
  /// Brings the Newsboard to the top (after a run that delivered articles).
  virtual void BringNewsboardForward() = 0;
};

}  // namespace tarnwick::check
