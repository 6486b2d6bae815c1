#pragma once

#include "ui/feed_info.h"

#include <wx/dialog.h>

namespace tarnwick::ui {

/// Control ids of the information dialog.
enum FeedInfoControl { kInfoTextId = 1032, kInfoIconId = 1033, kInfoOkId = 1034, kInfoVerifyId = 1035 };

/// The information dialog: an icon, a message and "OK" (the default button), with "Verify this
/// Feed..." when the feed failed. Escape does nothing and there is no close box: it ends only
/// through OK, with result 1.
class FeedInfoDialog : public wxDialog {
public:
  FeedInfoDialog(wxWindow* parent, const FeedInfo& info);

  /// What the dialog shows.
  const FeedInfoMessage& Message() const { return message_; }

private:
  void OnVerify(wxCommandEvent& event);
  void OnClose(wxCloseEvent& event);

  FeedInfo info_;
  FeedInfoMessage message_;
};

/// Shows the information dialog for `info` modally (playing the feed error sound when the
/// message asks for it) and returns its result, 1. Call on the UI thread.
int ShowFeedInfoDialog(wxWindow* parent, const FeedInfo& info);

}  // namespace tarnwick::ui
