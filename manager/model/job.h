// The job container: the one job buffer, the parsed and working headers, the pages and the trailer;
// reading the stream, the per-page copies table, parsing and the page steps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/seams/output_channel.h"
#include "common/seams/progress_sink.h"
#include "manager/model/header.h"
#include "manager/model/job_progress.h"
#include "manager/model/job_reader.h"
#include "manager/model/page.h"

namespace vyx {

// Layout results used by the printer command writer and the job layout.
struct CLayoutResults {
  std::int32_t widestExtent = 0;
  std::int32_t widestSide = 0;
  std::int32_t tallestExtent = 0;
  std::int32_t tallestSide = 0;
  std::int32_t smallestWidth = 10000000;
  std::int32_t smallestHeight = 10000000;
  std::int32_t ribbonOutcomes[32] = {};  // by ribbon index; 33 = split over several ribbons
  std::uint32_t printJobsRibbonMask = 0;
  std::int32_t labelsPerSet = 0;
  std::uint8_t tapeCutSetsEnabled = 0;
  std::int32_t pageCountAtLoad = 1;
  std::int32_t singlePageCopies = 1;
  std::int32_t copiesPlaced = 0;
};

// Frees the job buffer, which is grown with realloc.
struct CFreeBuffer {
  void operator()(char* p) const { std::free(p); }
};

class CQzplJobData {
 public:
  // Staging area and read step of the stream reader.
  static constexpr std::uint32_t kStagingBytes = 128 * 1024;
  static constexpr std::uint32_t kReadStep = 65536;

  CQzplJobData() = default;
  CQzplJobData(const CQzplJobData&) = delete;
  CQzplJobData& operator=(const CQzplJobData&) = delete;
  ~CQzplJobData();

  // Reads the whole stream (65536 bytes per read call, straight into one growing buffer that ends up followed by
  // two zero bytes), closes the source and returns the byte count (0 when nothing came). The end marker is looked
  // for as in a 128 KiB staging area. A null source (the platform's invalid handle) returns -1 at once. Moves the
  // progress bar towards 7,200,000.
  std::int64_t ReadStream(CJobStreamSource* source);

  // Takes a copy of the given text as the job buffer (tests, tools, fuzzing); returns the length.
  std::int64_t SetText(const void* data, std::size_t size);

  // Sets the per-page copies table from the bytes of a per-page copies file (little-endian signed 16-bit
  // counts, entry count = size / 2). Returns the byte count.
  std::int64_t SetPerPageCopies(const void* bytes, std::size_t size);
  // Loads a per-page copies file as the table and then deletes the file (unless told not to), as the driver
  // expects. Reads at most two bytes per ^XPG line of the job text, so the stream must be read first. Returns the
  // file length, or -1 when the file cannot be opened or read.
  std::int64_t ReadPerPageCopiesFile(const std::filesystem::path& file, bool deleteFile = true);
  // The ^XPG lines of the job text (line search, so none inside a binary payload).
  std::size_t CountPageLines();
  void FreePerPageCopies();
  bool HasPerPageCopies() const { return m_hasPerPageCopies; }
  const std::vector<std::int16_t>& PerPageCopies() const { return m_perPageCopies; }

  // Builds the parsed header, the two working headers, the pages and the trailer; returns the page count.
  // Any pages of an earlier parse are deleted first.
  int ParseJob();

  // Page steps 2 and 3 over every page (step 1, the colour consolidation, lives with the consolidation). Each sets its
  // fixed progress position when done.
  std::int64_t KnockOutOverlaps(std::uint32_t nonPunchMask);
  int MergeSameRibbonFields(std::int64_t packetWeight = kDefaultPacketWeightInPixels);

  // Deletes every page (master pages delete their objects).
  void ClearPages();

  char* Text() { return m_buffer.get(); }
  const char* Text() const { return m_buffer.get(); }
  char* TextEnd() { return m_buffer ? m_buffer.get() + jobLength : nullptr; }

  CQzplHeader* headerInForce = nullptr;
  CQzplHeader parsedHeader;
  CCustomQzplHeader optimisedHeader;  // print size = painted area plus margins
  CCustomQzplHeader formSizeHeader;   // print size = form size
  CQzplObj trailer;                   // the final ^XZ line to the end of the buffer
  std::vector<CQzplPage*> pages;      // stream order; copy pages follow their master
  CLayoutResults layout;
  std::int64_t jobLength = 0;
  COutputChannel* output = nullptr;  // while printing
  std::string jobTag;                // the job location's tag ("42_abc" of ...\pipe\VYXQ5_42_abc)
  CJobProgress progress;             // set progress.sink to show the start-up progress bar
  // Counts the bitmaps that the page steps and the writer build for this job; its limit follows the job's size.
  CBitmapBudget bitmapBudget;

 private:
  std::unique_ptr<char, CFreeBuffer> m_buffer;
  std::vector<std::int16_t> m_perPageCopies;
  bool m_hasPerPageCopies = false;
  CPageParseContext m_pageContext;
};

}  // namespace vyx
