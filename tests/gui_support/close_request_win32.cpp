// Asks top-level windows to close with the message the system sends when the user clicks a
// window's close box.
#include "gui_support/close_request.h"

#include <windows.h>

#include <string>
#include <vector>

namespace tarnwick::test {
namespace {

struct Search {
  std::wstring title;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTitled(HWND window, LPARAM searchAddress) {
  auto* search = reinterpret_cast<Search*>(searchAddress);
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  if (search->title == text) search->found.push_back(window);
  return TRUE;
}

std::wstring WideOf(const std::string& utf8) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

}  // namespace

int RequestCloseByTitle(const std::string& title) {
  Search search{WideOf(title), {}};
  EnumWindows(CollectTitled, reinterpret_cast<LPARAM>(&search));
  for (HWND window : search.found) PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  return static_cast<int>(search.found.size());
}

}  // namespace tarnwick::test
