#include "ui/registered_messages.h"

#include <wx/thread.h>

namespace tarnwick::ui {

wxDEFINE_EVENT(kUiDisplayWindow, DisplayWindowEvent);
wxDEFINE_EVENT(kUiNewArticle, NewArticleEvent);

DisplayWindowEvent::DisplayWindowEvent(int request) : wxEvent(0, kUiDisplayWindow), request_(request) {}

NewArticleEvent::NewArticleEvent(const mailbox::NewArticleNotice& notice)
    : wxEvent(0, kUiNewArticle), notice_(notice) {}

int SendDisplayWindow(wxEvtHandler& target, int request) {
  DisplayWindowEvent event(request);
  target.SafelyProcessEvent(event);
  return event.Answer();
}

void NotifyNewArticle(wxEvtHandler& target, const mailbox::NewArticleNotice& notice) {
  if (wxThread::IsMain()) {
    NewArticleEvent event(notice);
    target.SafelyProcessEvent(event);
    return;
  }
  // Queued events are owned by the target's queue and copied across threads by wx itself.
  target.QueueEvent(new NewArticleEvent(notice));
}

}  // namespace tarnwick::ui
