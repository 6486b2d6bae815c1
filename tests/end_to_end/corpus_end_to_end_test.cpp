// Every feed document of the shared corpus goes through tarnwick-host check, in batches of feeds
// that each have their own newsbox: nothing may crash or hang, and a second check of the same
// documents must deliver nothing. The figures (documents, messages, items skipped by reason) are
// printed and recorded as test properties.
#include "platform/dynamic_library.h"
#include "store/feed_settings.h"
#include "store/settings_store.h"
#include "support/http_server.h"
#include "support/shell_command.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

namespace tarnwick {
namespace {

using test::Quote;
using test::RunCommand;

// The settings file lists feeds from a section read into a 2 KB buffer: 150 short aliases fit.
constexpr size_t kBatchFeeds = 150;
constexpr int kBatchTimeLimitSeconds = 600;  // a hang ends the batch with status 124

// The corpus's feed documents in a fixed order (licences and notes left out). In the sanitizer
// tree, which runs several times slower, every fourth one.
std::vector<std::filesystem::path> CorpusDocuments() {
  std::vector<std::filesystem::path> documents;
  const std::filesystem::path folder = TARNWICK_CORPUS_FOLDER;
  if (!std::filesystem::is_directory(folder)) return documents;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && name != "LICENSE" && !name.ends_with(".md")) documents.push_back(entry.path());
  }
  std::sort(documents.begin(), documents.end());
  if (TARNWICK_CORPUS_SAMPLE > 1) {
    std::vector<std::filesystem::path> sample;
    for (size_t index = 0; index < documents.size(); index += TARNWICK_CORPUS_SAMPLE)
      sample.push_back(documents[index]);
    documents.swap(sample);
  }
  return documents;
}

// What the run reports: the total of new articles, and the skipped items summed by reason.
struct RunFigures {
  int feeds = -1;
  int newArticles = -1;
  std::map<std::string, int> skipped;
};

RunFigures ReadFigures(const std::string& output) {
  RunFigures figures;
  std::smatch match;
  if (std::regex_search(output, match, std::regex("Feeds: (\\d+), new articles: (\\d+)"))) {
    figures.feeds = std::stoi(match[1]);
    figures.newArticles = std::stoi(match[2]);
  }
  std::istringstream lines(output);
  const std::regex phrase("(\\d+) items? ([^,]+)");
  for (std::string line; std::getline(lines, line);) {
    const size_t at = line.find("; skipped: ");
    if (at == std::string::npos) continue;
    const std::string list = line.substr(at + 11);
    for (std::sregex_iterator it(list.begin(), list.end(), phrase), end; it != end; ++it) {
      figures.skipped[(*it)[2]] += std::stoi((*it)[1]);
    }
  }
  return figures;
}

class CorpusEndToEnd : public ::testing::Test {
protected:
  // Sets up a data folder with one feed and one newsbox per document, served by the server. The
  // settings file is written in one piece: key by key it would be rewritten thousands of times.
  std::string SetUpBatch(size_t batch, const std::vector<std::filesystem::path>& documents) {
    const std::string data = dir.File("batch" + std::to_string(batch));
    const std::string plugins = data + "/plugins";
    std::filesystem::create_directories(plugins);
    std::filesystem::copy_file(TARNWICK_MODULE_FILE, plugins + "/" + platform::ModuleFileName("tarnwick"));
    std::string aliases = "[Aliases]\n";
    std::string sections;
    for (size_t index = 0; index < documents.size(); ++index) {
      const std::string alias = "d" + std::to_string(batch * kBatchFeeds + index);
      server.AddEndpoint("/" + alias, 200, test::ReadFileBytes(documents[index].string()));
      test::WriteFileBytes(data + "/" + alias + ".mbx", "");
      aliases += alias + "=" + alias + "\n";
      sections += "\n[" + alias + "]\nName=" + alias + "\nURL=" + server.Url("/" + alias) + "\nNewsbox=" + alias +
                  "\nNewsboxPath=" + data + "/" + alias +
                  ".mbx\nDownloadReferringArticles=0\n"
                  "DownloadOnlyNewArticles=1\nLastArticle=\nAutoCheck=0\nIntervalMinutes=0\n";
    }
    test::WriteFileBytes(plugins + "/tarnwick.ini", aliases + sections);
    return data;
  }

  int Check(const std::string& data, std::string& output) {
    return RunCommand(test::WithTimeLimit(kBatchTimeLimitSeconds,
                                          Quote(TARNWICK_HOST_FILE) + " --data-folder " + Quote(data) + " check"),
                      output);
  }

  test::TempDir dir;
  test::HttpServer server;
};

TEST_F(CorpusEndToEnd, EveryDocumentIsCheckedWithoutCrashOrHangAndASecondCheckDeliversNothing) {
  const std::vector<std::filesystem::path> documents = CorpusDocuments();
  if (documents.empty()) GTEST_SKIP() << "no corpus at " << TARNWICK_CORPUS_FOLDER;
  int delivered = 0;
  std::map<std::string, int> skipped;
  for (size_t first = 0, batch = 0; first < documents.size(); first += kBatchFeeds, ++batch) {
    const std::vector<std::filesystem::path> part(
        documents.begin() + static_cast<std::ptrdiff_t>(first),
        documents.begin() + static_cast<std::ptrdiff_t>(std::min(documents.size(), first + kBatchFeeds)));
    const std::string data = SetUpBatch(batch, part);
    std::string output;
    const int status = Check(data, output);
    // 0: every feed checked; 1: some documents could not be read. Anything else is a crash (-1)
    // or a hang cut off by the time limit (124).
    ASSERT_TRUE(status == 0 || status == 1) << "batch " << batch << " ended with " << status << "\n" << output;
    const RunFigures figures = ReadFigures(output);
    ASSERT_EQ(figures.feeds, static_cast<int>(part.size())) << output;
    delivered += figures.newArticles;
    for (const auto& [reason, count] : figures.skipped) skipped[reason] += count;

    const int again = Check(data, output);
    ASSERT_TRUE(again == 0 || again == 1) << "batch " << batch << " again ended with " << again << "\n" << output;
    EXPECT_EQ(ReadFigures(output).newArticles, 0) << "batch " << batch << "\n" << output;
    std::filesystem::remove_all(data);
  }
  RecordProperty("documents", static_cast<int>(documents.size()));
  RecordProperty("delivered", delivered);
  std::printf("Corpus: %zu documents, %d messages delivered\n", documents.size(), delivered);
  for (const auto& [reason, count] : skipped) {
    std::printf("  skipped: %d items %s\n", count, reason.c_str());
    RecordProperty("skipped " + reason, count);
  }
}

}  // namespace
}  // namespace tarnwick
