// Replays every file of the committed fuzz corpus fuzz/corpus/job/ through the job case, and the examples.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/targets/job_target.h"

namespace {

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& dir) {
  std::vector<std::filesystem::path> files;
  if (!std::filesystem::is_directory(dir)) return files;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    if (e.is_regular_file()) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::string ReadAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(JobCorpus, EveryCommittedInputRunsCleanly) {
  const auto files = FilesIn(std::filesystem::path(VYX_SOURCE_DIR) / "fuzz" / "corpus" / "job");
  ASSERT_FALSE(files.empty()) << "fuzz/corpus/job is empty";
  for (const auto& f : files) {
    SCOPED_TRACE(f.filename().string());
    const std::string bytes = ReadAll(f);
    EXPECT_EQ(0, vyx::fuzz::RunJobCase(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  }
}

TEST(JobCorpus, ExamplesRunCleanly) {
  int n = 0;
  for (const auto& f : FilesIn(std::filesystem::path(VYX_SOURCE_DIR) / "examples")) {
    if (f.extension() != ".zpl") continue;
    SCOPED_TRACE(f.filename().string());
    const std::string bytes = ReadAll(f);
    EXPECT_EQ(0, vyx::fuzz::RunJobCase(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    ++n;
  }
  EXPECT_GE(n, 3);
}

}  // namespace
