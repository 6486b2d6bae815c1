#pragma once

#include "automation/host_automation.h"
#include "ui/article_viewer_model.h"

#include <string>

namespace tarnwick::ui {

/// The subject of a forwarded article: the article's subject and " (fwd)".
std::string ForwardSubject(const ArticleViewerModel& article);

/// Asks the host for a new outgoing message whose body is the article text between the two
/// "--- begin/end forwarded article" lines. False (nothing shown) when the host cannot be reached.
bool ForwardInline(const automation::HostAutomation& host, const ArticleViewerModel& article);

/// Writes the article text, line feeds removed, into a new numbered ".nws" file of the folder
/// "Forwarded Articles" of the data folder, and asks the host for a new outgoing message with that
/// file attached. The file's path, or empty when the host cannot be reached or the folder or file
/// cannot be made or written (then no message is asked for).
std::string ForwardAsAttachment(const automation::HostAutomation& host, const ArticleViewerModel& article,
                                const std::string& hostDataFolder);

/// Writes the article text, line feeds removed, as the whole file at `path` (replacing a file
/// that was there). False when it could not be written.
bool SaveArticleAs(const ArticleViewerModel& article, const std::string& path);

}  // namespace tarnwick::ui
