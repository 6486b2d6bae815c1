#include "gui_support/page_rendering.h"

#include <windows.h>

namespace tarnwick::test {

// Wine's own system library names its version; that of Windows does not.
bool WebPagesRender() {
  HMODULE system = GetModuleHandleW(L"ntdll.dll");
  return system == nullptr || GetProcAddress(system, "wine_get_version") == nullptr;
}

}  // namespace tarnwick::test
