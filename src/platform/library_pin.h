#pragma once

namespace tarnwick::platform {

/// Keeps the shared library that holds `symbol`, and every library it needs, loaded for the life
/// of the process, whoever unloads it later. Nothing happens for a symbol of the program itself.
void KeepLibraryLoaded(const void* symbol);

/// Keeps the module that holds this code loaded while the object lives, whoever unloads it, so
/// that a thread of the module never has to be waited for while the module is being unloaded.
/// Windows unloads a module under a lock that a thread needs in order to end, so there a module
/// that a host unloads without finishing it stays loaded, its threads running, until it is
/// finished or the process ends. Elsewhere an unloading module can wait for its threads, and
/// nothing is held.
class ModuleSelfHold {
public:
  ModuleSelfHold();
  ~ModuleSelfHold();
  ModuleSelfHold(const ModuleSelfHold&) = delete;
  ModuleSelfHold& operator=(const ModuleSelfHold&) = delete;

private:
  void* module_ = nullptr;  // the module's handle, when held
};

}  // namespace tarnwick::platform
