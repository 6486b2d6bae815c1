#pragma once

// Marks a function that another module looks up by name at run time (a plug-in's entry point, or
// the host program's connect function): C linkage, exported from the module or program that
// defines it. The one place that knows how each system spells that.
#if defined(_WIN32)
#define TARNWICK_SYMBOL_EXPORT extern "C" __declspec(dllexport)
#else
#define TARNWICK_SYMBOL_EXPORT extern "C" __attribute__((visibility("default")))
#endif
