// Replays every file of the committed fuzz corpus fuzz/corpus/btw_job/ through the BarTender job case.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/targets/btw_job_target.h"

namespace {

TEST(BtwJobCorpus, EveryCommittedInputRunsCleanly) {
  const std::filesystem::path dir = std::filesystem::path(VYX_SOURCE_DIR) / "fuzz" / "corpus" / "btw_job";
  std::vector<std::filesystem::path> files;
  if (std::filesystem::is_directory(dir)) {
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
      if (e.is_regular_file()) files.push_back(e.path());
    }
  }
  std::sort(files.begin(), files.end());
  ASSERT_GE(files.size(), 6u) << "fuzz/corpus/btw_job holds too few seeds";
  for (const auto& f : files) {
    SCOPED_TRACE(f.filename().string());
    std::ifstream in(f, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(0, vyx::fuzz::RunBtwJobCase(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  }
}

}  // namespace
