// Reading the files the subcommands take: the job stream through the manager's stream reader, and the per-page
// copies file, so that every subcommand sees a job the way the manager does.
#pragma once

#include <string>

#include "manager/model/job.h"

namespace vyxq5 {

// Reads the job file into `job` through the stream reader. False with a one-line reason when the file cannot be
// opened or read (an empty file is a job of 0 bytes).
bool ReadJobFile(const std::string& path, vyx::CQzplJobData& job, std::string& error);

// Loads a per-page copies file as the job's table without deleting it (the manager deletes the driver's file; the
// tool never deletes the user's). The job must have been read first. False with a one-line reason when it cannot
// be read.
bool ReadCopiesFile(const std::string& path, vyx::CQzplJobData& job, std::string& error);

// The job file and, when a path is given, the per-page copies file, in the manager's order: the stream first.
bool ReadJobAndCopiesFiles(const std::string& jobPath,
                           const std::string& copiesPath,
                           vyx::CQzplJobData& job,
                           std::string& error);

}  // namespace vyxq5
