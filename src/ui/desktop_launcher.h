#pragma once

#include <functional>
#include <string>

namespace tarnwick::ui {

/// Opens a help topic ("Getting Started.htm") of the help folder with the desktop's default handler;
/// false (and nothing happens) when the help folder or the page is missing.
bool OpenHelpTopic(const std::string& helpFolder, const std::string& topic);

/// Opens a web page (an http or https address) with the user's default web browser; false, and
/// nothing is opened, for any other text (a local path, a "file:" link) or when it could not start.
bool OpenAddress(const std::string& address);

/// Opens an existing local file with the desktop's program for its type; false when there is no
/// such file or nothing could start.
bool OpenLocalFile(const std::string& path);

/// What opens a target: a file's full path or an address; true when the handler started.
using DesktopOpener = std::function<bool(const std::string& target)>;

/// Installs what opens targets (tests install a recorder); empty restores the desktop's. Returns the old one.
/// Call on the UI thread.
DesktopOpener SetDesktopOpener(DesktopOpener opener);

}  // namespace tarnwick::ui
