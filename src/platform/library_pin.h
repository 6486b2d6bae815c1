#pragma once

namespace tarnwick::platform {

/// Keeps the shared library that holds `symbol`, and every library it needs, loaded for the life
/// of the process, whoever unloads it later. Nothing happens for a symbol of the program itself.
void KeepLibraryLoaded(const void* symbol);

}  // namespace tarnwick::platform
