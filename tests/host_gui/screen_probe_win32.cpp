// The screen as the system's own screen context and window list give it.
#include "screen_probe.h"

#include <windows.h>

namespace tarnwick::host::gui::test {
namespace {

struct Search {
  std::wstring title;
  wxRect found;
};

std::wstring WideOf(const std::string& utf8) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

BOOL CALLBACK FindVisibleTitled(HWND window, LPARAM searchAddress) {
  auto* search = reinterpret_cast<Search*>(searchAddress);
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  RECT rect{};
  if (!IsWindowVisible(window) || search->title != text || !GetWindowRect(window, &rect)) return TRUE;
  search->found = wxRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  return FALSE;
}

}  // namespace

wxColour ScreenPixel(const wxPoint& point) {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return wxNullColour;
  const COLORREF pixel = GetPixel(screen, point.x, point.y);
  ReleaseDC(nullptr, screen);
  if (pixel == CLR_INVALID) return wxNullColour;
  return wxColour(GetRValue(pixel), GetGValue(pixel), GetBValue(pixel));
}

wxRect TopLevelWindowRect(const std::string& title) {
  Search search{WideOf(title), {}};
  EnumWindows(FindVisibleTitled, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace tarnwick::host::gui::test
