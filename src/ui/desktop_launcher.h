#pragma once

#include <functional>
#include <string>

namespace tarnwick::ui {

/// Opens a help topic ("Getting Started.htm") of the help folder with the desktop's default handler;
/// false (and nothing happens) when the help folder or the page is missing.
bool OpenHelpTopic(const std::string& helpFolder, const std::string& topic);

/// Opens an address (a web page) with the user's default web browser; false when it could not start.
bool OpenAddress(const std::string& address);

/// What opens a target: a file's full path or an address; true when the handler started.
using DesktopOpener = std::function<bool(const std::string& target)>;

/// Installs what opens targets (tests install a recorder); empty restores the desktop's. Returns the old one.
/// Call on the UI thread.
DesktopOpener SetDesktopOpener(DesktopOpener opener);

}  // namespace tarnwick::ui
