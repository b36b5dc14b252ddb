// Replays every committed fuzz corpus (fuzz/corpus/<case>/) and the example jobs through the fuzzers' own case
// functions, so that every run re-checks the inputs that once found faults.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/targets/btw_job_target.h"
#include "fuzz/targets/cut_path_target.h"
#include "fuzz/targets/devmode_target.h"
#include "fuzz/targets/discovery_reply_target.h"
#include "fuzz/targets/job_target.h"
#include "fuzz/targets/options_target.h"
#include "tests/support/file_bytes.h"

namespace {

using vyx::testing::ReadFileBytes;

using CaseFunction = int (*)(const std::uint8_t*, std::size_t);

struct CCorpus {
  const char* folder;
  CaseFunction run;
  std::size_t minimumSeeds;
};

const CCorpus kCorpora[] = {
    {"job", vyx::fuzz::RunJobCase, 8},          {"btw_job", vyx::fuzz::RunBtwJobCase, 6},
    {"cut_path", vyx::fuzz::RunCutPathCase, 8}, {"options", vyx::fuzz::RunOptionsCase, 8},
    {"devmode", vyx::fuzz::RunDevmodeCase, 8},  {"discovery_reply", vyx::fuzz::RunDiscoveryReplyCase, 8},
};

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& dir) {
  std::vector<std::filesystem::path> files;
  if (!std::filesystem::is_directory(dir)) return files;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    if (e.is_regular_file()) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

int RunCase(CaseFunction run, const std::string& bytes) {
  return run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

TEST(FuzzCorpus, EveryCommittedInputRunsCleanly) {
  for (const CCorpus& corpus : kCorpora) {
    const auto files = FilesIn(std::filesystem::path(VYX_SOURCE_DIR) / "fuzz" / "corpus" / corpus.folder);
    EXPECT_GE(files.size(), corpus.minimumSeeds) << "fuzz/corpus/" << corpus.folder << " holds too few seeds";
    for (const auto& f : files) {
      SCOPED_TRACE(std::string(corpus.folder) + "/" + f.filename().string());
      EXPECT_EQ(0, RunCase(corpus.run, ReadFileBytes(f)));
    }
  }
}

TEST(FuzzCorpus, ExampleJobsRunCleanly) {
  int n = 0;
  for (const auto& f : FilesIn(std::filesystem::path(VYX_SOURCE_DIR) / "examples")) {
    if (f.extension() != ".zpl") continue;
    SCOPED_TRACE(f.filename().string());
    EXPECT_EQ(0, RunCase(vyx::fuzz::RunJobCase, ReadFileBytes(f)));
    ++n;
  }
  EXPECT_GE(n, 3);
}

}  // namespace
