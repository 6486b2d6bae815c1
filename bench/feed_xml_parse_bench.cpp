// Parse throughput of XmlDocument on large generated feeds (an RSS 2.0 and an Atom document of
// about 20 MB, items with HTML in CDATA and entity-laden text), side by side with pugixml (DOM),
// libxml2 (DOM) and expat (a tokenizer with no handlers) on the same bytes. ParseText is given
// the text to keep (moved in, as the check hands over a download) and pugixml parses its buffer
// in place, in its default mode and in parse_minimal, its fastest; the *File runs read the
// document from a file (in the page cache) as a check does: XmlDocument::LoadFile against
// pugixml's load_file in parse_minimal. At the end the throughput ratios and the bytes of memory
// per element of each parser are printed.

#include "feed/xml_document.h"

#include <benchmark/benchmark.h>
#include <expat.h>
#include <libxml/parser.h>
#include <pugixml.hpp>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <map>
#include <random>
#include <set>
#include <string>

namespace {

constexpr size_t kTargetBytes = 20 * 1024 * 1024;

std::string Words(std::mt19937& random, int count) {
  static const char* const kWords[] = {"feed",
                                       "news",
                                       "caf\xC3\xA9",
                                       "update",
                                       "release",
                                       "market",
                                       "weather",
                                       "science",
                                       "&amp;",
                                       "&quot;quoted&quot;",
                                       "&#8220;curly&#8221;",
                                       "&lt;tag&gt;"};
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += ' ';
    text += kWords[random() % std::size(kWords)];
  }
  return text;
}

std::string Html(std::mt19937& random) {
  std::string html = "<p>" + Words(random, 20) + "</p><p><a href=\"http://example.com/x?a=1&b=2\">link</a> <b>";
  html += Words(random, 8) + "</b></p><ul><li>" + Words(random, 6) + "</li><li>" + Words(random, 6) + "</li></ul>";
  return html;
}

std::string EscapedHtml(std::mt19937& random) {
  return "&lt;p&gt;" + Words(random, 25) + "&lt;/p&gt;&lt;img src=&quot;http://example.com/i.png&quot;/&gt;";
}

std::string MakeRss() {
  std::mt19937 random(2003);
  std::string text =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<rss version=\"2.0\" "
      "xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n<channel>\n<title>Benchmark feed</title>\n"
      "<link>http://example.com/</link>\n<description>Generated</description>\n";
  for (int n = 0; text.size() < kTargetBytes; ++n) {
    std::string id = std::to_string(n);
    text += "<item>\n  <title>" + Words(random, 6) + "</title>\n  <link>http://example.com/item/" + id +
            "?ref=rss&amp;x=1</link>\n  <description><![CDATA[" + Html(random) + "]]></description>\n" +
            "  <dc:creator>" + Words(random, 2) + "</dc:creator>\n  <category domain=\"http://example.com/c\">" +
            Words(random, 1) + "</category>\n  <enclosure url=\"http://example.com/m/" + id +
            ".mp3\" length=\"123456\" type=\"audio/mpeg\"/>\n  <guid isPermaLink=\"false\">item-" + id +
            "</guid>\n  <pubDate>Tue, 10 Jun 2003 04:00:00 GMT</pubDate>\n  <comments>" + EscapedHtml(random) +
            "</comments>\n</item>\n";
  }
  return text + "</channel>\n</rss>\n";
}

std::string MakeAtom() {
  std::mt19937 random(2005);
  std::string text =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<feed xmlns=\"http://www.w3.org/2005/Atom\">\n"
      "<title>Benchmark feed</title>\n<id>urn:uuid:60a76c80-d399-11d9-b93C-0003939e0af6</id>\n"
      "<updated>2003-12-13T18:30:02Z</updated>\n<link href=\"http://example.com/\"/>\n";
  for (int n = 0; text.size() < kTargetBytes; ++n) {
    std::string id = std::to_string(n);
    text += "<entry>\n  <title type=\"html\">" + Words(random, 6) + "</title>\n  <link rel=\"alternate\" href=\"" +
            "http://example.com/entry/" + id + "?a=1&amp;b=2\"/>\n  <id>urn:example:" + id +
            "</id>\n  <updated>2003-12-13T18:30:02Z</updated>\n  <author><name>" + Words(random, 2) +
            "</name><email>a@example.com</email></author>\n  <summary><![CDATA[" + Html(random) +
            "]]></summary>\n  <content type=\"html\">" + EscapedHtml(random) + EscapedHtml(random) +
            "</content>\n</entry>\n";
  }
  return text + "</feed>\n";
}

const std::string& Document(int which) {
  static const std::string rss = MakeRss();
  static const std::string atom = MakeAtom();
  return which == 0 ? rss : atom;
}

// Bytes held by a parser through its allocation hooks (net of frees) and the peak of that.
struct MemoryCount {
  size_t live = 0;
  size_t peak = 0;
  void Add(size_t size) {
    live += size;
    if (live > peak) peak = live;
  }
} memory;

// Hooks that prefix each block with its size so that frees can be counted.
void* CountedMalloc(size_t size) {
  auto* block = static_cast<size_t*>(std::malloc(size + 16));
  if (block == nullptr) return nullptr;
  *block = size;
  memory.Add(size);
  return reinterpret_cast<char*>(block) + 16;
}
void CountedFree(void* pointer) {
  if (pointer == nullptr) return;
  auto* block = reinterpret_cast<size_t*>(static_cast<char*>(pointer) - 16);
  memory.live -= *block;
  std::free(block);
}
void* CountedRealloc(void* pointer, size_t size) {
  if (pointer == nullptr) return CountedMalloc(size);
  auto* block = reinterpret_cast<size_t*>(static_cast<char*>(pointer) - 16);
  size_t old = *block;
  auto* grown = static_cast<size_t*>(std::realloc(block, size + 16));
  if (grown == nullptr) return nullptr;
  memory.live -= old;
  *grown = size;
  memory.Add(size);
  return reinterpret_cast<char*>(grown) + 16;
}
char* CountedStrdup(const char* text) {
  size_t size = std::strlen(text) + 1;
  auto* copy = static_cast<char*>(CountedMalloc(size));
  if (copy != nullptr) std::memcpy(copy, text, size);
  return copy;
}

size_t ElementCount(const std::string& text) {
  static std::map<const std::string*, size_t> counts;
  auto& count = counts[&text];
  if (count == 0) {
    tarnwick::feed::XmlDocument doc;
    doc.ParseText(text);
    count = doc.Elements().Count() - 1;
  }
  return count;
}

void Finish(benchmark::State& state, const std::string& text, double memoryBytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["elements"] = static_cast<double>(ElementCount(text));
  state.counters["bytes_per_element"] = memoryBytes / static_cast<double>(ElementCount(text));
}

void BM_Tarnwick(benchmark::State& state) {
  const std::string& text = Document(static_cast<int>(state.range(0)));
  tarnwick::feed::XmlDocument doc;
  for (auto _ : state) {
    state.PauseTiming();
    doc.ParseText();
    std::string copy = text;
    state.ResumeTiming();
    bool wellFormed = doc.ParseText(std::move(copy));
    benchmark::DoNotOptimize(wellFormed);
    if (!wellFormed) state.SkipWithError(doc.ErrorText().c_str());
  }
  Finish(state, text, static_cast<double>(doc.Elements().MemoryBytes() + doc.Text().capacity()));
  state.counters["table_bytes_per_element"] =
      static_cast<double>(doc.Elements().MemoryBytes()) / static_cast<double>(ElementCount(text));
}

// The document written to a file of its own, once.
const std::string& DocumentFile(int which) {
  static const std::string folder = [] {
    std::filesystem::path path = std::filesystem::temp_directory_path() / "tarnwick-xml-bench";
    std::filesystem::create_directories(path);
    return path.string();
  }();
  static std::map<int, std::string> paths;
  std::string& path = paths[which];
  if (path.empty()) {
    path = folder + (which == 0 ? "/rss.xml" : "/atom.xml");
    std::ofstream(path, std::ios::binary) << Document(which);
  }
  return path;
}

void BM_TarnwickFile(benchmark::State& state) {
  const std::string& path = DocumentFile(static_cast<int>(state.range(0)));
  tarnwick::feed::XmlDocument doc;
  for (auto _ : state) {
    bool wellFormed = doc.LoadFile(path);
    benchmark::DoNotOptimize(wellFormed);
    if (!wellFormed) state.SkipWithError(doc.ErrorText().c_str());
  }
  Finish(state, Document(static_cast<int>(state.range(0))), 0);
}

// pugixml parsing a fresh copy of the document in place with `options`.
void PugixmlInPlace(benchmark::State& state, unsigned options) {
  const std::string& text = Document(static_cast<int>(state.range(0)));
  pugi::set_memory_management_functions(CountedMalloc, CountedFree);
  memory = {};
  std::string buffer = text;
  {
    pugi::xml_document doc;
    for (auto _ : state) {
      state.PauseTiming();
      std::memcpy(buffer.data(), text.data(), text.size());
      state.ResumeTiming();
      pugi::xml_parse_result result = doc.load_buffer_inplace(buffer.data(), buffer.size(), options);
      if (!result) state.SkipWithError(result.description());
    }
  }
  Finish(state, text, static_cast<double>(memory.peak + buffer.size()));
}

void BM_Pugixml(benchmark::State& state) {
  PugixmlInPlace(state, pugi::parse_default);
}

void BM_PugixmlMinimal(benchmark::State& state) {
  PugixmlInPlace(state, pugi::parse_minimal);
}

void BM_PugixmlMinimalFile(benchmark::State& state) {
  const std::string& path = DocumentFile(static_cast<int>(state.range(0)));
  pugi::set_memory_management_functions(CountedMalloc, CountedFree);
  {
    pugi::xml_document doc;
    for (auto _ : state) {
      pugi::xml_parse_result result = doc.load_file(path.c_str(), pugi::parse_minimal);
      if (!result) state.SkipWithError(result.description());
    }
  }
  Finish(state, Document(static_cast<int>(state.range(0))), 0);
}

void BM_Libxml2(benchmark::State& state) {
  const std::string& text = Document(static_cast<int>(state.range(0)));
  memory = {};
  for (auto _ : state) {
    xmlDocPtr doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr, XML_PARSE_NONET);
    if (doc == nullptr) state.SkipWithError("libxml2 failed");
    xmlFreeDoc(doc);
  }
  Finish(state, text, static_cast<double>(memory.peak));
}

void BM_Expat(benchmark::State& state) {
  const std::string& text = Document(static_cast<int>(state.range(0)));
  XML_Memory_Handling_Suite suite{CountedMalloc, CountedRealloc, CountedFree};
  memory = {};
  for (auto _ : state) {
    XML_Parser parser = XML_ParserCreate_MM(nullptr, &suite, nullptr);
    if (XML_Parse(parser, text.data(), static_cast<int>(text.size()), 1) != XML_STATUS_OK) {
      state.SkipWithError(XML_ErrorString(XML_GetErrorCode(parser)));
    }
    XML_ParserFree(parser);
  }
  Finish(state, text, static_cast<double>(memory.peak));
}

// Runs 0 and 1 are the RSS and the Atom document.
BENCHMARK(BM_Tarnwick)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pugixml)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PugixmlMinimal)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libxml2)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Expat)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TarnwickFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PugixmlMinimalFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The console report, followed by each parser's throughput against ours on the same document.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  // With repetitions the median is used, otherwise the single run.
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.error_occurred || (run.run_type != Run::RT_Iteration && !median)) continue;
      auto found = run.counters.find("bytes_per_second");
      if (found == run.counters.end()) continue;
      std::string name = run.run_name.str();
      if (median || medians_.count(name) == 0) rates_[name] = found->second.value;
      if (median) medians_.insert(name);
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nThroughput, MB/s, and how many times faster XmlDocument is:\n");
    for (const char* document : {"0", "1"}) {
      const char* name = document[0] == '0' ? "RSS 2.0" : "Atom   ";
      PrintRatios(name, "Tarnwick", document, {"Pugixml", "PugixmlMinimal", "Libxml2", "Expat"});
      PrintRatios(name, "TarnwickFile", document, {"PugixmlMinimalFile"});
    }
  }

  void PrintRatios(const char* name, const std::string& ours, const char* document,
                   std::initializer_list<const char*> others) {
    double rate = rates_["BM_" + ours + "/" + document];
    std::printf("  %s: %s %.0f", name, ours.c_str(), rate / 1e6);
    for (const char* other : others) {
      double theirs = rates_[std::string("BM_") + other + "/" + document];
      if (theirs > 0) std::printf("  | %s %.0f (x%.2f)", other, theirs / 1e6, rate / theirs);
    }
    std::printf("\n");
  }

private:
  std::map<std::string, double> rates_;
  std::set<std::string> medians_;
};

}  // namespace

int main(int argc, char** argv) {
  xmlMemSetup(CountedFree, CountedMalloc, CountedRealloc, CountedStrdup);
  xmlInitParser();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  xmlCleanupParser();
  return 0;
}
