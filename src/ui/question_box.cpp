#include "ui/question_box.h"

#include <wx/msgdlg.h>

#include <utility>

namespace tarnwick::ui {
namespace {

QuestionAnswerer& CurrentAnswerer() {
  static QuestionAnswerer answerer;
  return answerer;
}

}  // namespace

bool AskYesNo(wxWindow* parent, const std::string& text, const std::string& caption) {
  if (CurrentAnswerer()) return CurrentAnswerer()(text);
  wxMessageDialog dialog(parent, wxString::FromUTF8(text), wxString::FromUTF8(caption),
                         wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
  return dialog.ShowModal() == wxID_YES;
}

QuestionAnswerer SetQuestionAnswerer(QuestionAnswerer answerer) {
  return std::exchange(CurrentAnswerer(), std::move(answerer));
}

}  // namespace tarnwick::ui
