// The module as the host uses it: loaded with dlopen, initialised, finished and unloaded.
#include "platform/ems_records.h"
#include "support/temp_dir.h"

#include <dirent.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <set>
#include <string>

namespace tarnwick::plugin {
namespace {

// The names in a folder: the threads of this process in /proc/self/task, its open descriptors in
// /proc/self/fd. Threads are told apart by their ids, since a thread of a library this program
// links may end on its own meanwhile (the web engine's memory scavenger does when it has been idle).
std::set<std::string> Entries(const char* folder) {
  std::set<std::string> names;
  if (DIR* dir = opendir(folder)) {
    while (dirent* entry = readdir(dir)) names.insert(entry->d_name);
    closedir(dir);
  }
  return names;
}

// The entries of `now` that `before` did not have.
std::set<std::string> Added(const std::set<std::string>& before, const std::set<std::string>& now) {
  std::set<std::string> added;
  std::set_difference(now.begin(), now.end(), before.begin(), before.end(), std::inserter(added, added.end()));
  return added;
}

class LoadedModule {
public:
  explicit LoadedModule(const std::string& path) : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {}
  ~LoadedModule() {
    if (handle_ != nullptr) dlclose(handle_);
  }
  bool Loaded() const { return handle_ != nullptr; }
  template <typename Function>
  Function Get(const char* name) const {
    return reinterpret_cast<Function>(dlsym(handle_, name));
  }

private:
  void* handle_;
};

class PluginLifecycle : public ::testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directories(plugins);
    std::filesystem::copy_file(TARNWICK_MODULE_FILE, module);
  }

  // Loads, initialises with the interface version given, finishes (unless told not to) and
  // unloads the module once.
  // Returns whether the scheduler ran between init and finish (its thread showed up).
  bool RunOnce(int16_t hostVersion, bool finishing = true) {
    LoadedModule loaded(module);
    EXPECT_TRUE(loaded.Loaded()) << dlerror();
    if (!loaded.Loaded()) return false;
    auto init = loaded.Get<EmsPluginInitFunction>("ems_plugin_init");
    auto finish = loaded.Get<EmsPluginFinishFunction>("ems_plugin_finish");
    auto release = loaded.Get<EmsFreeFunction>("ems_free");
    EXPECT_TRUE(init && finish && release);
    const std::set<std::string> threadsBefore = Entries("/proc/self/task");
    EmsMailConfig config{sizeof(EmsMailConfig), nullptr, plugins.data()};
    EmsPluginInfo info{};
    EXPECT_EQ(init(nullptr, hostVersion, &config, &info), 0);
    EXPECT_STREQ(info.description, "Tarnwick, Version: 1.0");
    EXPECT_EQ(info.numSpecials, 1);
    EXPECT_EQ(info.numTranslators, 1);
    EXPECT_EQ(info.id, 4410);
    bool schedulerRan = !Added(threadsBefore, Entries("/proc/self/task")).empty();
    if (finishing) EXPECT_EQ(finish(nullptr), 0);
    release(info.description);
    release(info.icon);
    return schedulerRan;
  }

  test::TempDir dir;
  std::string plugins = dir.File("plugins");
  std::string module = plugins + "/libtarnwick.so";
};

TEST_F(PluginLifecycle, SchedulerRunsOnlyForInterfaceFourAndLater) {
  EXPECT_TRUE(RunOnce(4));
  EXPECT_FALSE(RunOnce(3));
}

TEST_F(PluginLifecycle, LoadingAHundredTimesLeaksNoThreadAndNoDescriptor) {
  RunOnce(4);  // the first load maps what stays for the process (the C++ runtime, libcurl)
  const std::set<std::string> threads = Entries("/proc/self/task");
  const size_t descriptors = Entries("/proc/self/fd").size();
  for (int i = 0; i < 100; ++i) RunOnce(4);
  EXPECT_TRUE(Added(threads, Entries("/proc/self/task")).empty());
  EXPECT_EQ(Entries("/proc/self/fd").size(), descriptors);
}

TEST_F(PluginLifecycle, UnloadingWithoutFinishingStillEndsTheScheduler) {
  RunOnce(4);
  const std::set<std::string> threads = Entries("/proc/self/task");
  EXPECT_TRUE(RunOnce(4, false));
  EXPECT_TRUE(Added(threads, Entries("/proc/self/task")).empty());
  EXPECT_TRUE(RunOnce(4));  // and the module loads and starts again afterwards
}

}  // namespace
}  // namespace tarnwick::plugin
