// The host's mail store at the sizes a long-lived newsbox reaches.
//
// Move: 10,000 messages moved one by one, last first (as the newsbox writer has the host move them),
// from a staging mailbox into a newsbox that already holds N messages. A move appends to the target
// and cuts the source's tail, keeping both tables of contents up to date entry by entry, so its cost
// must not grow with N: compare the per-move time at N = 1,000, 10,000 and 100,000.
// List: the messages of a 100,000-message mailbox, from a fresh store (its table read from disk),
// from an open store, and from a store that must rebuild a missing table by reading the mailbox file.
#include "core/automation_objects.h"
#include "core/host_core.h"
#include "core/mail_store.h"
#include "platform/dispatch_ids.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;
using tarnwick::host::HostCore;
using tarnwick::host::MailStore;
using tarnwick::host::MessageInfo;

constexpr int kMoved = 10000;

std::string Article(int number) {
  std::string body = "<p>Article " + std::to_string(number) + " of the benchmark feed. ";
  while (body.size() < 600) body += "Lorem ipsum dolor sit amet, consectetur adipiscing elit. ";
  return "From ???@??? Tue Jun 3 04:05:09 2003\r\n"
         "Subject: Article number " +
         std::to_string(number) +
         "\r\n"
         "From: Bench Writer\r\n"
         "Date: 06/03/2003 04:00:00\r\n"
         "Website: http://example.com/articles/" +
         std::to_string(number) +
         "\r\n"
         "Message-Id: <http://example.com/articles/" +
         std::to_string(number) +
         "@localhost>\r\n"
         "Downloaded: 12/7/2026 7:03:15 AM\r\n"
         "Tarnwick-Plugin-Version: 1.0\r\n"
         "Feed: Bench\r\n"
         "MIME-Version: 1.0\r\n"
         "Content-Type: text/html\r\n"
         "Content-Transfer-Encoding: 8bit\r\n"
         "\r\n"
         "<x-html>" +
         body + "</x-html>\r\n";
}

void WriteMailbox(const fs::path& path, int first, int count) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  for (int i = 0; i < count; ++i) file << Article(first + i);
}

std::unique_ptr<MailStore> Open(const fs::path& folder) {
  std::string errorText;
  std::unique_ptr<MailStore> store = MailStore::Open(folder.string(), errorText);
  if (!store) {
    std::fprintf(stderr, "%s\n", errorText.c_str());
    std::abort();
  }
  return store;
}

// Folders made once per process and removed at its end.
struct Scratch {
  fs::path root;
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "host-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    root = pattern;
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
};

Scratch& TheScratch() {
  static Scratch scratch;
  return scratch;
}

// A data folder with News (newsboxSize messages) and Pending (kMoved messages), tables written.
const fs::path& Template(int newsboxSize) {
  static std::map<int, fs::path> made;
  auto found = made.find(newsboxSize);
  if (found != made.end()) return found->second;
  fs::path folder = TheScratch().root / ("template-" + std::to_string(newsboxSize));
  fs::create_directories(folder);
  WriteMailbox(folder / "News.mbx", 0, newsboxSize);
  WriteMailbox(folder / "Pending.mbx", newsboxSize, kMoved);
  auto store = Open(folder);
  size_t count = 0;
  (void)store->Counts(store->FindMailbox("News"), &count, nullptr);
  (void)store->Counts(store->FindMailbox("Pending"), &count, nullptr);
  return made[newsboxSize] = folder;
}

// A fresh copy of a template whose tables still match their mailbox files (times kept).
fs::path CopyOf(const fs::path& from, const std::string& name) {
  fs::path to = TheScratch().root / name;
  fs::remove_all(to);
  fs::copy(from, to, fs::copy_options::recursive);
  for (const fs::directory_entry& entry : fs::directory_iterator(from)) {
    struct stat info {};
    stat(entry.path().c_str(), &info);
    struct timespec times[2] = {info.st_atim, info.st_mtim};
    utimensat(AT_FDCWD, (to / entry.path().filename()).c_str(), times, 0);
  }
  return to;
}

// Second argument 0: the mailboxes were just written and still wait in the page cache, as "Pending"
// does when the newsbox writer has it moved moments after appending. 1: everything was flushed to
// disk first, so cutting the source's tail frees disk blocks (a file-system journal operation).
void BM_MoveLastFirst(benchmark::State& state) {
  const int newsboxSize = static_cast<int>(state.range(0));
  const bool flushed = state.range(1) != 0;
  for (auto _ : state) {
    state.PauseTiming();
    fs::path folder = CopyOf(Template(newsboxSize), "move");
    if (flushed) sync();
    auto store = Open(folder);
    int32_t pending = store->FindMailbox("Pending");
    int32_t news = store->FindMailbox("News");
    std::vector<MessageInfo> staged;
    (void)store->ListMessages(pending, staged);
    state.ResumeTiming();
    for (auto it = staged.rbegin(); it != staged.rend(); ++it) {
      if (!store->MoveMessage(pending, it->id, news, nullptr).ok) state.SkipWithError("move failed");
    }
    state.PauseTiming();
    size_t count = 0;
    (void)store->Counts(news, &count, nullptr);
    if (count != static_cast<size_t>(newsboxSize + kMoved)) state.SkipWithError("messages missing");
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kMoved);
  state.counters["us_per_move"] =
      benchmark::Counter(static_cast<double>(state.iterations() * kMoved),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(BM_MoveLastFirst)
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1}})
    ->ArgNames({"newsbox", "flushed"})
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The same moves as the newsbox writer makes them through the automation server: per message the
// whole text, the body, the id and the title are read, the state is set and the move is called.
void BM_DeliverThroughAutomation(benchmark::State& state) {
  using namespace tarnwick::platform;
  const int newsboxSize = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    fs::path folder = CopyOf(Template(newsboxSize), "deliver");
    std::string errorText;
    std::shared_ptr<HostCore> core = HostCore::Open(folder.string(), {}, errorText);
    DispatchPointer application = core->Application();
    state.ResumeTiming();
    DispatchPointer pending = application->Call(kApplicationFolderByName, {"Pending", 1}).value.Object();
    DispatchPointer news = application->Call(kApplicationFolderByName, {"News", 1}).value.Object();
    DispatchPointer messages = pending->Get(kFolderMessages, {}).value.Object();
    int total = messages->Get(kCollectionCount, {}).value.Number();
    for (int position = total; position >= 1; --position) {
      DispatchPointer message = messages->Get(kCollectionItem, {position}).value.Object();
      benchmark::DoNotOptimize(message->Get(kMessageRawText, {}).value.Text().size());
      benchmark::DoNotOptimize(message->Get(kMessageBody, {}).value.Text().size());
      benchmark::DoNotOptimize(message->Get(kMessageId, {}).value.Number());
      benchmark::DoNotOptimize(message->Get(kMessageSubject, {}).value.Text().size());
      (void)message->Put(kMessageStatus, 0);
      if (!message->Call(kMessageMove, {news}).ok) state.SkipWithError("move failed");
    }
  }
  state.SetItemsProcessed(state.iterations() * kMoved);
  state.counters["us_per_message"] =
      benchmark::Counter(static_cast<double>(state.iterations() * kMoved),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(BM_DeliverThroughAutomation)->Arg(100000)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_ListFreshStore(benchmark::State& state) {
  fs::path folder = CopyOf(Template(100000), "list");
  for (auto _ : state) {
    auto store = Open(folder);
    std::vector<MessageInfo> messages;
    (void)store->ListMessages(store->FindMailbox("News"), messages);
    if (messages.size() != 100000) state.SkipWithError("wrong count");
  }
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_ListFreshStore)->Unit(benchmark::kMillisecond);

void BM_ListOpenStore(benchmark::State& state) {
  fs::path folder = CopyOf(Template(100000), "list-open");
  auto store = Open(folder);
  int32_t news = store->FindMailbox("News");
  for (auto _ : state) {
    std::vector<MessageInfo> messages;
    (void)store->ListMessages(news, messages);
    if (messages.size() != 100000) state.SkipWithError("wrong count");
  }
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_ListOpenStore)->Unit(benchmark::kMillisecond);

void BM_ListRebuildingTheTable(benchmark::State& state) {
  fs::path folder = CopyOf(Template(100000), "list-rebuild");
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove(folder / "News.toc");
    state.ResumeTiming();
    auto store = Open(folder);
    std::vector<MessageInfo> messages;
    (void)store->ListMessages(store->FindMailbox("News"), messages);
    if (messages.size() != 100000) state.SkipWithError("wrong count");
  }
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_ListRebuildingTheTable)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
