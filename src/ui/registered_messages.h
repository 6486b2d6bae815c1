#pragma once

#include "mailbox/new_article_notice.h"

#include <wx/event.h>

namespace tarnwick::ui {

/// "uiDisplayWindow": asks the Newsboard to show itself (request 1) or to hide itself (any other
/// request). The receiver sets the answer, 1 once it has done so.
class DisplayWindowEvent : public wxEvent {
public:
  explicit DisplayWindowEvent(int request);
  int Request() const { return request_; }
  int Answer() const { return answer_; }
  void SetAnswer(int answer) { answer_ = answer; }
  wxEvent* Clone() const override { return new DisplayWindowEvent(*this); }

private:
  int request_;
  int answer_ = 0;
};

/// "uiNewArticle": an article has been moved into a newsbox. The event carries its own copy of
/// the notice, so the sender may overwrite its notice at once, whichever thread handles it.
class NewArticleEvent : public wxEvent {
public:
  explicit NewArticleEvent(const mailbox::NewArticleNotice& notice);
  const mailbox::NewArticleNotice& Notice() const { return notice_; }
  wxEvent* Clone() const override { return new NewArticleEvent(*this); }

private:
  mailbox::NewArticleNotice notice_;
};

wxDECLARE_EVENT(kUiDisplayWindow, DisplayWindowEvent);
wxDECLARE_EVENT(kUiNewArticle, NewArticleEvent);

/// Sends "uiDisplayWindow" to `target` and waits until it is handled; the receiver's answer, 0
/// when nothing handled it. Call on the UI thread.
int SendDisplayWindow(wxEvtHandler& target, int request);

/// Sends "uiNewArticle" to `target` without waiting for another thread: on the UI thread the
/// target handles it before this returns; from any other thread it is queued for the UI thread,
/// which handles it when it next processes its events.
void NotifyNewArticle(wxEvtHandler& target, const mailbox::NewArticleNotice& notice);

/// Passes every article the newsbox writer announces on to a window as "uiNewArticle".
class NewArticleForwarder : public mailbox::NewArticleReceiver {
public:
  /// `target` must outlive the forwarder.
  explicit NewArticleForwarder(wxEvtHandler& target) : target_(target) {}
  void OnNewArticle(const mailbox::NewArticleNotice& notice) override { NotifyNewArticle(target_, notice); }

private:
  wxEvtHandler& target_;
};

}  // namespace tarnwick::ui
