// Replays every file of the committed fuzz corpus fuzz/corpus/cut_path/ through the plotter path case.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/targets/cut_path_target.h"

namespace {

TEST(CutPathCorpus, EveryCommittedInputRunsCleanly) {
  const std::filesystem::path dir = std::filesystem::path(VYX_SOURCE_DIR) / "fuzz" / "corpus" / "cut_path";
  std::vector<std::filesystem::path> files;
  if (std::filesystem::is_directory(dir)) {
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
      if (e.is_regular_file()) files.push_back(e.path());
    }
  }
  std::sort(files.begin(), files.end());
  ASSERT_GE(files.size(), 8u) << "fuzz/corpus/cut_path holds too few seeds";
  for (const auto& f : files) {
    SCOPED_TRACE(f.filename().string());
    std::ifstream in(f, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(0, vyx::fuzz::RunCutPathCase(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  }
}

}  // namespace
