#pragma once

#include <functional>
#include <string>

class wxWindow;

namespace tarnwick::ui {

/// Asks the user a yes-or-no question in a message box over `parent`, "No" being the default
/// answer; true for yes. Call on the UI thread.
bool AskYesNo(wxWindow* parent, const std::string& text, const std::string& caption);

/// What answers the questions instead of the user (tests install one); empty restores the
/// message box. Returns the one it replaced.
using QuestionAnswerer = std::function<bool(const std::string& text)>;
QuestionAnswerer SetQuestionAnswerer(QuestionAnswerer answerer);

}  // namespace tarnwick::ui
