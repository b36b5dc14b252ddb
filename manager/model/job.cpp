// The job container: reading the stream, the per-page copies table, parsing and the page steps.
#include "manager/model/job.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <string>

#include "manager/model/cut_collection.h"
#include "manager/model/text_scan.h"

namespace vyx {

CQzplJobData::~CQzplJobData() {
  ClearPages();
}

void CQzplJobData::ClearPages() {
  // Copy pages first: they only share the master's objects.
  std::vector<CQzplPage*> masters;
  for (CQzplPage* p : pages) {
    if (p->IsMaster())
      masters.push_back(p);
    else
      delete p;
  }
  pages.clear();
  for (CQzplPage* p : masters) delete p;
}

namespace {

// The job buffer grows by half its size at a time: reads land in it directly, and growing moves the pages rather than
// copying them where the C library can (large blocks on Linux), so every byte is copied once.
constexpr std::size_t kFirstBufferBytes = 1u << 20;

char* GrowBuffer(std::unique_ptr<char, CFreeBuffer>& buffer, std::size_t& capacity, std::size_t needed) {
  if (needed <= capacity) return buffer.get();
  std::size_t grown = std::max(kFirstBufferBytes, capacity + capacity / 2);
  if (grown < needed) grown = needed;
  char* p = static_cast<char*>(std::realloc(buffer.get(), grown));
  if (p == nullptr) throw std::bad_alloc();  // memory exhaustion ends the program
  buffer.release();
  buffer.reset(p);
  capacity = grown;
  return p;
}

}  // namespace

std::int64_t CQzplJobData::ReadStream(CJobStreamSource* source) {
  if (source == nullptr) return -1;
  static constexpr char kMarker[] = "^XZ\r\n";
  std::unique_ptr<char, CFreeBuffer> buffer;
  std::size_t capacity = 0;
  std::size_t total = 0;
  // The reads are counted as if they went through a staging area of kStagingBytes that is emptied after the end
  // marker or when less than one read step is free: the marker test looks at the staged bytes only.
  std::size_t staged = 0;
  std::int64_t budget = 400000;
  std::int64_t bar = progress.Pos();

  while (true) {
    char* at = GrowBuffer(buffer, capacity, total + kReadStep + 2) + total;
    std::uint32_t got = 0;
    const std::uint32_t err = source->Read(at, kReadStep, got);
    if (got > kReadStep) got = kReadStep;
    if (err != 0 && err != kErrorMoreData) break;
    if (err == kErrorMoreData && got == 0) break;  // a source that never delivers would otherwise spin
    staged += got;
    total += got;
    const bool marker = staged >= 5 && std::memcmp(buffer.get() + total - 5, kMarker, 5) == 0;
    const std::int64_t step = static_cast<std::int64_t>(got) * budget / 400000;
    budget -= step;
    bar += 18 * step;
    progress.Advance(bar);
    if (marker || kStagingBytes - staged < kReadStep) staged = 0;
    if (err == 0 && (marker || got == 0)) break;  // end marker, or the end of the data without it
  }
  source->Close();

  m_buffer.reset();
  jobLength = 0;
  if (total > 0) {
    // Give back what the growth left over; a shrink that fails keeps the larger block.
    if (char* p = static_cast<char*>(std::realloc(buffer.get(), total + 2))) {
      buffer.release();
      buffer.reset(p);
    }
    buffer.get()[total] = '\0';
    buffer.get()[total + 1] = '\0';
    m_buffer = std::move(buffer);
    jobLength = static_cast<std::int64_t>(total);
  }
  bitmapBudget.SetLimit(CBitmapBudget::LimitForJob(jobLength));
  return jobLength;
}

std::int64_t CQzplJobData::SetText(const void* data, std::size_t size) {
  ClearPages();
  char* p = static_cast<char*>(std::malloc(size + 2));
  if (p == nullptr) throw std::bad_alloc();
  m_buffer.reset(p);
  if (size != 0) std::memcpy(p, data, size);
  p[size] = '\0';
  p[size + 1] = '\0';
  jobLength = static_cast<std::int64_t>(size);
  bitmapBudget.SetLimit(CBitmapBudget::LimitForJob(jobLength));
  return jobLength;
}

std::int64_t CQzplJobData::SetPerPageCopies(const void* bytes, std::size_t size) {
  const auto* b = static_cast<const unsigned char*>(bytes);
  m_perPageCopies.resize(size / 2);
  for (std::size_t i = 0; i < m_perPageCopies.size(); ++i)
    m_perPageCopies[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(b[2 * i] | (b[2 * i + 1] << 8)));
  m_hasPerPageCopies = true;
  return static_cast<std::int64_t>(size);
}

std::size_t CQzplJobData::CountPageLines() {
  std::size_t count = 0;
  char* const limit = TextEnd();
  for (char* hit = LineSearch(Text(), limit, "^XPG"); hit != nullptr; hit = LineSearch(hit + 4, limit, "^XPG")) ++count;
  return count;
}

std::int64_t CQzplJobData::ReadPerPageCopiesFile(const std::filesystem::path& file, bool deleteFile) {
  std::string bytes;
  std::int64_t fileLength = 0;
  {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (!in) return -1;
    fileLength = static_cast<std::int64_t>(in.tellg());
    if (fileLength < 0) return -1;
    in.seekg(0);
    // Only a page line can look an entry up, so the file is read no further than two bytes per page line of the
    // job, however large it is.
    bytes.resize(
        static_cast<std::size_t>(std::min<std::int64_t>(fileLength, 2 * static_cast<std::int64_t>(CountPageLines()))));
    if (!bytes.empty()) in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) return -1;
    bytes.resize(bytes.empty() ? 0 : static_cast<std::size_t>(in.gcount()));
  }
  if (deleteFile) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
  }
  SetPerPageCopies(bytes.data(), bytes.size());
  return fileLength;
}

void CQzplJobData::FreePerPageCopies() {
  m_perPageCopies.clear();
  m_perPageCopies.shrink_to_fit();
  m_hasPerPageCopies = false;
}

int CQzplJobData::ParseJob() {
  ClearPages();
  layout = CLayoutResults{};
  headerInForce = &parsedHeader;
  parsedHeader = CQzplHeader{};
  trailer = CQzplObj{};
  progress.bufferStart = m_buffer.get();
  progress.jobLength = jobLength;
  if (!m_buffer) {
    optimisedHeader = CCustomQzplHeader{};
    formSizeHeader = CCustomQzplHeader{};
    optimisedHeader.InitFrom(parsedHeader);
    formSizeHeader.InitFrom(parsedHeader);
    return 0;
  }
  char* const limit = TextEnd();
  char* pos = parsedHeader.Parse(m_buffer.get(), limit);
  optimisedHeader = CCustomQzplHeader{};
  formSizeHeader = CCustomQzplHeader{};
  optimisedHeader.InitFrom(parsedHeader);
  formSizeHeader.InitFrom(parsedHeader);

  m_pageContext.copiesTable = m_hasPerPageCopies ? m_perPageCopies.data() : nullptr;
  m_pageContext.copiesCount = m_hasPerPageCopies ? m_perPageCopies.size() : 0;
  m_pageContext.progress = &progress;
  m_pageContext.barTenderJob = IsBarTenderJobTag(jobTag);
  m_pageContext.bitmapBudget = &bitmapBudget;
  // A page is parsed before the test for ^XZ, so a header followed by ^XZ alone is a job of one empty page.
  while (pos != nullptr && pos < limit) {
    auto* page = new CQzplPage();
    page->parseContext = &m_pageContext;
    char* next = page->Parse(pos, limit);
    if (next == nullptr || next < pos || next >= limit) {
      // No ^XPG and no ^XZ after this point: the job ends at the end of the buffer without this empty page.
      if (next != nullptr && next > pos && page->textEnd > page->textStart) {
        pages.push_back(page);
      } else {
        delete page;
      }
      pos = limit;
      break;
    }
    pages.push_back(page);
    // A page without ^XPG returns the ^XZ it stopped at; anything else that does not move on ends the job too.
    if (next == pos || IsCommand(next, limit, "XZ")) {
      pos = next;
      break;
    }
    pos = next;
  }
  trailer.Parse(pos != nullptr ? pos : limit, limit);
  layout.pageCountAtLoad = static_cast<std::int32_t>(pages.size());
  progress.Advance(kProgressParsed);
  return static_cast<int>(pages.size());
}

std::int64_t CQzplJobData::KnockOutOverlaps(std::uint32_t nonPunchMask) {
  std::int64_t cleared = 0;
  for (CQzplPage* p : pages) cleared += vyx::KnockOutOverlaps(*p, nonPunchMask, &progress);
  progress.Advance(kProgressKnockedOut);
  return cleared;
}

int CQzplJobData::MergeSameRibbonFields(std::int64_t packetWeight) {
  int merges = 0;
  for (CQzplPage* p : pages) merges += vyx::MergeSameRibbonFields(*p, packetWeight, &progress);
  progress.Advance(kProgressMerged);
  return merges;
}

}  // namespace vyx
