#pragma once

#include <wx/animate.h>
#include <wx/bitmap.h>
#include <wx/cursor.h>
#include <wx/icon.h>

#include <string_view>

namespace tarnwick::ui {

/// The bytes of an embedded resource file ("icons/123.png"); empty when there is none.
std::string_view ResourceBytes(std::string_view name);

/// The icon of a resource number (res/icons/<number>.png) as a bitmap; an invalid bitmap when the
/// module carries no such icon. Call on the UI thread.
wxBitmap ResourceBitmap(int number);

/// The same icon as a wxIcon (for frames and message icons).
wxIcon ResourceIcon(int number);

/// The animated image of a resource number (res/animations/<number>.gif); an invalid animation
/// when there is none.
wxAnimation ResourceAnimation(int number);

/// The cursor of a resource number (res/cursors/<number>.png, its hot spot at the centre); the
/// arrow when there is none.
wxCursor ResourceCursor(int number);

/// Starts playing the sound of a resource number (res/sounds/<number>.wav) and returns without
/// waiting for it; false when the module carries no such sound. Call on the UI thread.
bool PlayResourceSound(int number);

}  // namespace tarnwick::ui
