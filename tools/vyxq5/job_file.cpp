// Reading job and per-page copies files for the subcommands.
#include "tools/vyxq5/job_file.h"

#include <fcntl.h>

namespace vyxq5 {

bool ReadJobFile(const std::string& path, vyx::CQzplJobData& job, std::string& error) {
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) {
    error = "cannot read the job file " + path;
    return false;
  }
  // A folder opens but fails its first read.
  vyx::CFdStreamSource source(fd);
  const std::int64_t bytes = job.ReadStream(&source);
  if (source.lastError != 0 && bytes <= 0) {
    error = "cannot read the job file " + path;
    return false;
  }
  return true;
}

bool ReadCopiesFile(const std::string& path, vyx::CQzplJobData& job, std::string& error) {
  if (job.ReadPerPageCopiesFile(path, false) >= 0) return true;
  error = "cannot read the per-page copies file " + path;
  return false;
}

bool ReadJobAndCopiesFiles(const std::string& jobPath,
                           const std::string& copiesPath,
                           vyx::CQzplJobData& job,
                           std::string& error) {
  return ReadJobFile(jobPath, job, error) && (copiesPath.empty() || ReadCopiesFile(copiesPath, job, error));
}

}  // namespace vyxq5
