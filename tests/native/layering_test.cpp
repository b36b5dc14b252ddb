// The layers of the code depend only downwards: tools -> app -> output -> model -> common (setup and spoolkit sit
// on common alone). A source that includes a layer above its own fails here with the offending line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct CLayer {
  const char* folder;
  std::vector<std::string> reaches;  // include prefixes a file of this folder may use
};

const CLayer kLayers[] = {
    {"common", {"common/"}},
    {"manager/model", {"common/", "manager/model/"}},
    {"manager/output", {"common/", "manager/model/", "manager/output/"}},
    {"manager/app", {"common/", "manager/model/", "manager/output/", "manager/app/"}},
    {"setup", {"common/", "setup/"}},
    {"spoolkit", {"common/", "spoolkit/"}},
};

// The project's own includes: quoted paths that name one of the layer folders.
bool IsProjectInclude(const std::string& path) {
  for (const char* root : {"common/", "manager/", "setup/", "spoolkit/", "tools/", "tests/"})
    if (path.rfind(root, 0) == 0) return true;
  return false;
}

TEST(Layering, EveryIncludePointsDown) {
  for (const CLayer& layer : kLayers) {
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(VYX_SOURCE_DIR) / layer.folder)) {
      const std::string ext = entry.path().extension().string();
      if (ext != ".cpp" && ext != ".h") continue;
      std::ifstream in(entry.path());
      std::string line;
      while (std::getline(in, line)) {
        if (line.rfind("#include \"", 0) != 0) continue;
        const std::string path = line.substr(10, line.find('"', 10) - 10);
        if (!IsProjectInclude(path)) continue;
        bool allowed = false;
        for (const std::string& prefix : layer.reaches) allowed = allowed || path.rfind(prefix, 0) == 0;
        EXPECT_TRUE(allowed) << entry.path().string() << ": " << line;
      }
    }
  }
}

}  // namespace
