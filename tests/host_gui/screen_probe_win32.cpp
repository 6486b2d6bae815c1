// The screen as the system's own screen context and window list give it.
#include "screen_probe.h"

#include <windows.h>

#include <string>
#include <vector>

namespace tarnwick::host::gui::test {
namespace {

struct Search {
  std::wstring title;
  wxRect found;
  HWND window = nullptr;
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
  search->window = window;
  return FALSE;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

wxRect RectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return wxRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
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
  Search search{WideOf(title), {}, nullptr};
  EnumWindows(FindVisibleTitled, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

wxRect OtherWindowOfProgramRect(const std::string& title) {
  Search search{WideOf(title), {}, nullptr};
  EnumWindows(FindVisibleTitled, reinterpret_cast<LPARAM>(&search));
  HWND titled = search.window;
  if (titled == nullptr) return {};
  DWORD program = 0;
  GetWindowThreadProcessId(titled, &program);
  std::vector<HWND> all;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
  for (HWND window : all) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    // The system's own windows in a program (the input method's) have no caption.
    const bool captioned = (GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    if (window != titled && owner == program && IsWindowVisible(window) && captioned) return RectOf(window);
  }
  return {};
}

}  // namespace tarnwick::host::gui::test
