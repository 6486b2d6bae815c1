#include "plugin/plugin_context.h"

namespace tarnwick::plugin {

PluginContext& Context() {
  static PluginContext context;
  return context;
}

}  // namespace tarnwick::plugin
