// The INI engine against the system's own profile functions on the same files: every read gives
// what GetPrivateProfileStringW / GetPrivateProfileSectionW give, and what one side writes or
// deletes, the other reads back the same. The few decided differences are listed with their reason.
#include "platform/ini_file.h"

#include "platform/wide_text_win32.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tarnwick::platform {
namespace {

using test::TempDir;
using test::WriteFileBytes;

constexpr wchar_t kAbsent[] = L"\x1absent";

std::optional<std::string> SystemRead(const std::string& path, const std::string& section, const std::string& key) {
  std::wstring value(4096, L'\0');
  const DWORD length = GetPrivateProfileStringW(WideFromUtf8(section).c_str(), WideFromUtf8(key).c_str(), kAbsent,
                                                value.data(), static_cast<DWORD>(value.size()), WidePath(path).c_str());
  value.resize(length);
  if (value == kAbsent) return std::nullopt;
  return Utf8FromWide(value);
}

std::vector<std::string> SystemReadSection(const std::string& path, const std::string& section) {
  std::wstring lines(65536, L'\0');
  const DWORD length = GetPrivateProfileSectionW(WideFromUtf8(section).c_str(), lines.data(),
                                                 static_cast<DWORD>(lines.size()), WidePath(path).c_str());
  std::vector<std::string> result;
  for (size_t start = 0; start < length;) {
    const size_t end = lines.find(L'\0', start);
    result.push_back(Utf8FromWide(std::wstring_view(lines).substr(start, end - start)));
    start = end + 1;
  }
  return result;
}

bool SystemWrite(const std::string& path, const std::string& section, const std::optional<std::string>& key,
                 const std::optional<std::string>& value) {
  const std::wstring wideKey = key ? WideFromUtf8(*key) : std::wstring();
  const std::wstring wideValue = value ? WideFromUtf8(*value) : std::wstring();
  return WritePrivateProfileStringW(WideFromUtf8(section).c_str(), key ? wideKey.c_str() : nullptr,
                                    value ? wideValue.c_str() : nullptr, WidePath(path).c_str());
}

struct ReadCase {
  const char* name;
  const char* file;
  const char* section;
  const char* key;
};

// Files and the key read from each; the section of each case is listed too.
const ReadCase kReadCases[] = {
    {"plain", "[A]\r\nk=v\r\n", "A", "k"},
    {"letter case of names", "[Feed One]\r\nUrl=http://a/b\r\n", "feed one", "URL"},
    {"blanks around names and value", "[A]\r\n  k  =  v w  \r\n", "A", "k"},
    {"blanks in the names asked", "[A]\r\nk=v\r\n", " A ", " k "},
    {"tab after the value", "[A]\r\nk=v\t\r\n", "A", "k"},
    {"empty value", "[A]\r\nk=\r\n", "A", "k"},
    {"missing key", "[A]\r\nk=v\r\n", "A", "x"},
    {"missing section", "[A]\r\nk=v\r\n", "B", "k"},
    {"value in double quotes", "[A]\r\nk=\"quoted value\"\r\n", "A", "k"},
    {"value in single quotes", "[A]\r\nk='quoted'\r\n", "A", "k"},
    {"one double quote", "[A]\r\nk=\"open\r\n", "A", "k"},
    {"equals in the value", "[A]\r\nk=a=b\r\n", "A", "k"},
    {"first of two lines of a key", "[A]\r\nk=1\r\nk=2\r\n", "A", "k"},
    {"key in the second of two sections", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n[A]\r\nk=3\r\n", "A", "k"},
    {"comment line", "[A]\r\n;k=v\r\n", "A", ";k"},
    {"key after a comment", "[A]\r\n;note\r\nk=v\r\n", "A", "k"},
    {"header with a bracket inside", "[Tech [beta]]\r\nk=v\r\n", "Tech [beta]", "k"},
    {"header without its bracket", "[Open\r\nk=v\r\n", "Open", "k"},
    {"text after the header", "[A] trailing\r\nk=v\r\n", "A", "k"},
    {"lines before the first section", "k=v\r\n[A]\r\nx=1\r\n", "", "k"},
    {"line ends LF alone", "[A]\nk=v\n", "A", "k"},
    {"no line end at the end", "[A]\r\nk=v", "A", "k"},
    {"line without equals", "[A]\r\njusttext\r\n", "A", "justtext"},
    {"blank key", "[A]\r\n=v\r\n", "A", ""},
    {"long value", "[A]\r\nk=0123456789012345678901234567890123456789012345678901234567890123456789\r\n", "A", "k"},
};

const char* const kSectionFiles[] = {
    "[A]\r\nk=v\r\nx = 1 \r\n",
    "[A]\r\n;comment\r\n\r\nk=v\r\njusttext\r\n",
    "[A]\r\nk=\"q\"\r\n",
    "[A]\r\nk=1\r\n[B]\r\ny=2\r\n[A]\r\nk=3\r\n",
};

struct WriteCase {
  const char* name;
  const char* file;
  const char* section;
  std::optional<std::string> key;    // none: the whole section goes
  std::optional<std::string> value;  // none: the key goes
  const char* readSection;           // read back afterwards, with...
  const char* readKey;               // ...this key
};

const WriteCase kWriteCases[] = {
    {"new key in a section", "[A]\r\nx=1\r\n", "A", "y", "2", "A", "y"},
    {"key replaced", "[A]\r\nx=1\r\ny=old\r\n", "A", "y", "new", "A", "y"},
    {"key in another letter case", "[A]\r\nKey=old\r\n", "a", "KEY", "new", "A", "key"},
    {"new section", "[A]\r\nx=1\r\n", "B", "k", "v", "B", "k"},
    {"new file", "", "A", "k", "v", "A", "k"},
    {"value with blanks around", "[A]\r\n", "A", "k", "  spaced  ", "A", "k"},
    {"key removed", "[A]\r\nx=1\r\ny=2\r\n", "A", "x", std::nullopt, "A", "x"},
    {"key kept when another is removed", "[A]\r\nx=1\r\ny=2\r\n", "A", "x", std::nullopt, "A", "y"},
    {"section removed", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n", "A", std::nullopt, std::nullopt, "A", "x"},
    {"other section kept", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n", "A", std::nullopt, std::nullopt, "B", "y"},
    {"write after a file without a last line end", "[A]\r\nx=1", "A", "y", "2", "A", "x"},
};

// Cases where the engine knowingly differs from the system (Wine's implementation of it, on this
// machine). Each reads a file in a way that Tarnwick's own settings never hold, and the engine's
// reading is the one the files written so far were read with:
const std::set<std::string> kDecidedDifferences = {
    // the engine reads every section of a name as one, the system only the first;
    "key in the second of two sections",
    "section of [A]\r\nk=1\r\n[B]\r\ny=2\r\n[A]\r\nk=3\r\n",
    // ";" starts a comment, which no key matches, for the engine;
    "comment line",
    // "[" without "]" opens a section for the engine, the system skips the line;
    "header without its bracket",
    // the engine reads no key before the first section, the system reads them as section "";
    "lines before the first section",
    // the system takes one pair of single quotes off a value, the engine only double quotes;
    "value in single quotes",
    // the system keeps a key's spelling when it replaces its value, the engine writes the caller's
    // (renaming a feed's alias in another letter case relies on it);
    "key in another letter case, bytes",
    // a new file's lines end in LF, not CR LF as the system writes them (both read either);
    "new file, bytes",
    // the system drops blanks at the start of a value it writes, the engine keeps them (both read
    // the value back without them).
    "value with blanks around, bytes",
};

class SystemProfile : public ::testing::Test {
protected:
  std::string NewFile(const std::string& bytes) {
    const std::string path = dir_.File("case" + std::to_string(++count_) + ".ini");
    if (!bytes.empty()) WriteFileBytes(path, bytes);
    return path;
  }

  // Records one comparison; a disagreement outside the decided ones fails the test.
  void Compare(const std::string& name, const std::string& ours, const std::string& system) {
    ++cases_;
    if (ours == system) {
      ++agreed_;
      return;
    }
    std::cout << "[ DIFFERS  ] " << name << ": engine " << ours << ", system " << system << "\n";
    EXPECT_TRUE(kDecidedDifferences.contains(name)) << name << ": engine " << ours << ", system " << system;
  }

  void TearDown() override { std::cout << "[ AGREED   ] " << agreed_ << " of " << cases_ << " cases\n"; }

private:
  TempDir dir_;
  int count_ = 0;
  int cases_ = 0;
  int agreed_ = 0;
};

std::string Shown(const std::optional<std::string>& value) {
  return value ? "\"" + *value + "\"" : "(absent)";
}

std::string Shown(const std::vector<std::string>& lines) {
  std::string text = "{";
  for (const std::string& line : lines) text += " \"" + line + "\"";
  return text + " }";
}

TEST_F(SystemProfile, ReadsGiveWhatTheSystemGives) {
  for (const ReadCase& c : kReadCases) {
    const std::string path = NewFile(c.file);
    Compare(c.name, Shown(IniFile(path).Read(c.section, c.key)), Shown(SystemRead(path, c.section, c.key)));
  }
  for (const char* file : kSectionFiles) {
    const std::string path = NewFile(file);
    Compare(std::string("section of ") + file, Shown(IniFile(path).ReadSection("A")),
            Shown(SystemReadSection(path, "A")));
  }
}

TEST_F(SystemProfile, WhatOneSideWritesTheOtherReadsBack) {
  for (const WriteCase& c : kWriteCases) {
    const std::string ours = NewFile(c.file);
    const std::string system = NewFile(c.file);
    if (!c.key) {
      ASSERT_TRUE(IniFile(ours).DeleteSection(c.section));
    } else if (!c.value) {
      ASSERT_TRUE(IniFile(ours).DeleteKey(c.section, *c.key));
    } else {
      ASSERT_TRUE(IniFile(ours).Write(c.section, *c.key, *c.value));
    }
    ASSERT_TRUE(SystemWrite(system, c.section, c.key, c.value)) << c.name;
    const std::string name = c.name;
    Compare(name + ", read by the system", Shown(SystemRead(ours, c.readSection, c.readKey)),
            Shown(SystemRead(system, c.readSection, c.readKey)));
    Compare(name + ", read by the engine", Shown(IniFile(system).Read(c.readSection, c.readKey)),
            Shown(IniFile(ours).Read(c.readSection, c.readKey)));
    Compare(name + ", bytes", test::ReadFileBytes(ours), test::ReadFileBytes(system));
  }
}

}  // namespace
}  // namespace tarnwick::platform
