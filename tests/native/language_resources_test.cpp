// The language resource sources: every string the programs fetch exists in every language, with the same
// placeholders, inside its language's block, and in a string-table block no other language shares.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "common/string_ids.h"

namespace vyx {
namespace {

struct CLanguageFile {
  int k;
  const char* file;
  const char* code;
  const char* english_name;
};

constexpr CLanguageFile kLanguages[] = {
    {0, "strings_de.rc", "de", "German"},
    {1, "strings_en.rc", "en", "English"},
    {2, "strings_nl.rc", "nl", "Dutch"},
};

std::string ReadSource(const std::string& name) {
  std::ifstream in(std::string(VYX_SOURCE_DIR) + "/resources/VyxResDll/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The entries of one STRINGTABLE source (id → UTF-8 text with the resource compiler's escapes undone); ids
// that occur twice are collected in `duplicates`.
std::map<int, std::string> ParseStringTable(const std::string& source, std::set<int>& duplicates) {
  std::map<int, std::string> table;
  static const std::regex kEntry(R"re(^\s*(\d+)\s+"((?:[^"]|"")*)"\s*$)re");
  std::istringstream lines(source);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::smatch m;
    if (!std::regex_match(line, m, kEntry)) continue;
    std::string text;
    const std::string raw = m[2];
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] == '"') {
        text += '"', ++i;  // "" stands for one quote
      } else if (raw[i] == '\\' && i + 1 < raw.size()) {
        const char e = raw[++i];
        text += e == 'n' ? '\n' : e == 't' ? '\t' : e;
      } else {
        text += raw[i];
      }
    }
    const int id = std::stoi(m[1]);
    if (!table.emplace(id, text).second) duplicates.insert(id);
  }
  return table;
}

// The conversions of a printf-style text in order ("dsd"); "%%" is a literal percent sign.
std::string Conversions(const std::string& text) {
  std::string kinds;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    if (i + 1 < text.size() && text[i + 1] == '%') {
      ++i;
      continue;
    }
    kinds += i + 1 < text.size() ? text[i + 1] : '?';
  }
  return kinds;
}

// UTF-16 length of a UTF-8 text, as LoadStringW will see it.
std::size_t Utf16Length(const std::string& text) {
  std::size_t n = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) n += c >= 0xF0 ? 2 : 1;
  }
  return n;
}

// The conversions each formatted string takes; every other string must hold no '%' at all.
const std::map<int, std::string> kFormats = {
    {kStrCutSetsFit, "ddd"}, {kStrPrintJobCount, "d"}, {kStrCopiesPrinted, "dsd"},
    {kStrLengthLimit, "d"},  {kStrLogonFailed, "s"},
};

class LanguageResources : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const CLanguageFile& language : kLanguages) {
      std::set<int> duplicates;
      m_tables[language.k] = ParseStringTable(ReadSource(language.file), duplicates);
      EXPECT_TRUE(duplicates.empty()) << language.file << " repeats id " << *duplicates.begin();
    }
  }
  std::map<int, std::map<int, std::string>> m_tables;
};

TEST_F(LanguageResources, EveryUsedOffsetHasATextInEveryLanguage) {
  for (const CLanguageFile& language : kLanguages) {
    const auto& table = m_tables[language.k];
    ASSERT_GT(table.size(), 100u) << language.file;
    for (int offset : AllStringOffsets()) {
      const auto it = table.find(language.k * 1000 + offset);
      ASSERT_NE(table.end(), it) << language.file << " lacks offset " << offset;
      EXPECT_FALSE(it->second.empty()) << language.file << " offset " << offset;
    }
  }
}

TEST_F(LanguageResources, IdentificationStringsNameEachLanguage) {
  for (const CLanguageFile& language : kLanguages) {
    const int base = language.k * 1000;
    EXPECT_EQ(language.code, m_tables[language.k][base + kStrLanguageCode]);
    EXPECT_EQ(language.english_name, m_tables[language.k][base + kStrLanguageEnglishName]);
  }
  EXPECT_EQ("Nederlands", m_tables[2][2000 + kStrLanguageDisplayName]);
}

TEST_F(LanguageResources, FormattedStringsTakeTheSameArgumentsInEveryLanguage) {
  for (const CLanguageFile& language : kLanguages) {
    for (const auto& [id, text] : m_tables[language.k]) {
      const int offset = id - language.k * 1000;
      const auto format = kFormats.find(offset);
      EXPECT_EQ(format == kFormats.end() ? "" : format->second, Conversions(text))
          << language.file << " " << id << ": " << text;
    }
  }
}

TEST_F(LanguageResources, EachLanguageStaysInItsOwnBlockAndStringTableSegments) {
  std::map<int, int> owner_of_segment;  // string tables are stored in segments of 16 ids
  for (const CLanguageFile& language : kLanguages) {
    for (const auto& [id, text] : m_tables[language.k]) {
      EXPECT_GE(id, language.k * 1000 + 1000) << language.file;
      EXPECT_LE(id, language.k * 1000 + 1999) << language.file;
      EXPECT_LT(Utf16Length(text), 780u) << id;  // the longest text a fetch returns whole
      const auto [it, fresh] = owner_of_segment.emplace(id / 16, language.k);
      EXPECT_TRUE(fresh || it->second == language.k) << "id " << id << " shares a segment with another language";
    }
  }
}

TEST_F(LanguageResources, EveryFileIsCompiledAsUtf8AndIncluded) {
  const std::string library = ReadSource("VyxResDll.rc");
  for (const CLanguageFile& language : kLanguages) {
    EXPECT_NE(std::string::npos, ReadSource(language.file).find("#pragma code_page(65001)")) << language.file;
    EXPECT_NE(std::string::npos, library.find(std::string("#include \"") + language.file + "\"")) << language.file;
  }
  // The German file really holds UTF-8: "Weiß" as C3 9F.
  EXPECT_EQ("Wei\xC3\x9F", m_tables[0][kStrTapeNameBase]);
}

TEST(LanguageResourceIds, OffsetsAreDistinctAndInsideALanguageBlock) {
  std::set<int> seen;
  for (int offset : AllStringOffsets()) {
    EXPECT_TRUE(seen.insert(offset).second) << offset;
    EXPECT_GE(offset, 1000);
    EXPECT_LE(offset, 1999);
  }
  // Material names must not run into the strings that follow them.
  EXPECT_LT(kStrTapeNameBase + kSampleTapeIds.back(), kStrCancel);
  EXPECT_LT(kStrRibbonNameBase + 31, kStrStepPrinted);
}

}  // namespace
}  // namespace vyx
