// The version texts of the plug-in module, read back from the module file at start-up.
#include "platform/version_resource.h"

TARNWICK_VERSION_RESOURCE("Tarnwick", "1, 0, 0, 0");
