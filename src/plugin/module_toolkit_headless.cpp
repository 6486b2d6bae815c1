#include "plugin/module_toolkit.h"

namespace tarnwick::plugin {

// Without windows there is no toolkit to end or start again.
void EndModuleToolkit() {}

void RestartModuleToolkit() {}

}  // namespace tarnwick::plugin
