// The functions the host calls that lead to Tarnwick's windows: the Special-menu entry and the
// "Get the Full Article" translator. Each runs on the host's thread; no exception may leave them.
#include "platform/ems_records.h"
#include "plugin/export_guard.h"
#include "plugin/full_article_translator.h"
#include "plugin/plugin_context.h"
#include "plugin/special_menu.h"
#include "plugin/window_seams.h"

using namespace tarnwick;

namespace {

// The windows are installed when the module is initialised; a host whose windows come up only
// after it has loaded its plug-ins (seen from a module with a toolkit of its own, as on Windows)
// gets them when it first leads to them.
void InstallWindowsOnFirstUse() {
  plugin::InstallWindows(plugin::Context());
}

}  // namespace

TARNWICK_EXPORT int32_t ems_special_hook(void* /*globals*/, EmsMenu* menu) {
  return plugin::Guarded(__func__, platform::kEmsHostCannotServe, [&] {
    InstallWindowsOnFirstUse();
    return plugin::RunSpecialMenuEntry(plugin::Context(), menu);
  });
}

// The translator record, the progress callback and the status are not needed: there is one
// translator, and the download reports its own failures.
TARNWICK_EXPORT int32_t ems_translate_file(void* /*globals*/, EmsTranslator* /*translator*/, EmsDataFile* in,
                                           EmsProgress /*progress*/, EmsDataFile* out, void* /*status*/) {
  // A failure on the way leaves the message as the host had it, as "nothing to do" does.
  return plugin::Guarded(__func__, platform::kEmsNoEntry, [&] {
    InstallWindowsOnFirstUse();
    return plugin::TranslateFullArticle(plugin::Context(), in, out);
  });
}
