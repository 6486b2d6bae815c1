#pragma once

#include <cstddef>
#include <set>
#include <string>

namespace tarnwick::test {

/// The ids of this process's threads. Threads are told apart by their ids, since a thread of a
/// library the program links may end on its own meanwhile.
std::set<std::string> ThreadIds();
/// False where a module's statics are destroyed under the system loader's lock (Windows), where a
/// module being unloaded cannot wait for its own threads to end.
bool UnloadingModulesCanJoinTheirThreads();
/// How many files, sockets and other objects of the system this process holds open.
size_t OpenHandleCount();

}  // namespace tarnwick::test
