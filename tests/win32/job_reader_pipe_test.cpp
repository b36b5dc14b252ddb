// The job stream reader on real handles: a named pipe served by a thread of the test (byte and message mode),
// a pipe closed early, a file, and the per-page copies file in the shared documents folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>

#include "manager/model/job.h"
#include "manager/model/job_reader_win32.h"
#include "tests/support/job_builder.h"

namespace vyx {
namespace {

using testing::Bitmap;

// A job of several pages with hexadecimal and binary fields, about `pages` x 330 KB.
std::string BigJob(int pages) {
  std::string s = testing::Header(1200, 800);
  const Bitmap stripes = Bitmap::FromPredicate(1216, 200, [](int x, int y) { return ((x / 7) + (y / 5)) % 3 == 0; });
  for (int p = 1; p <= pages; ++p) {
    s += testing::Field(0, "Black", 0, 0, stripes, 'A');
    s += testing::Field(2, "Red", 0, 300, stripes, 'B');
    s += testing::PageEnd(1, p);
  }
  return s + testing::Trailer();
}

// Serves `bytes` on a new pipe instance in chunks of `chunk` bytes, then waits until the client has read
// everything (FlushFileBuffers) unless closeEarly, and closes.
class CPipeServer {
 public:
  CPipeServer(const std::wstring& name, std::string bytes, DWORD type, std::size_t chunk, bool closeEarly = false)
      : m_bytes(std::move(bytes)) {
    m_pipe = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_OUTBOUND, type | PIPE_WAIT, 1, 65536, 65536, 0, nullptr);
    if (m_pipe == INVALID_HANDLE_VALUE) return;
    m_thread = std::thread([this, chunk, closeEarly] {
      if (!ConnectNamedPipe(m_pipe, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED) return;
      for (std::size_t at = 0; at < m_bytes.size();) {
        const DWORD n = static_cast<DWORD>(std::min(chunk, m_bytes.size() - at));
        DWORD written = 0;
        if (!WriteFile(m_pipe, m_bytes.data() + at, n, &written, nullptr)) return;
        at += written;
        writes++;
      }
      if (!closeEarly) FlushFileBuffers(m_pipe);
      DisconnectNamedPipe(m_pipe);
    });
  }
  ~CPipeServer() {
    if (m_thread.joinable()) m_thread.join();
    if (m_pipe != INVALID_HANDLE_VALUE) CloseHandle(m_pipe);
  }
  bool Ok() const { return m_pipe != INVALID_HANDLE_VALUE; }
  int writes = 0;

 private:
  std::string m_bytes;
  HANDLE m_pipe = INVALID_HANDLE_VALUE;
  std::thread m_thread;
};

// Opens the pipe as the manager does: for reading, no sharing; waits for it to appear.
HANDLE OpenPipe(const std::wstring& name, bool messageRead = false) {
  for (int i = 0; i < 100; ++i) {
    HANDLE h = CreateFileW(name.c_str(), GENERIC_READ | (messageRead ? FILE_WRITE_ATTRIBUTES : 0), 0, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      if (messageRead) {
        DWORD mode = PIPE_READMODE_MESSAGE;
        if (!SetNamedPipeHandleState(h, &mode, nullptr, nullptr)) {
          CloseHandle(h);
          return INVALID_HANDLE_VALUE;
        }
      }
      return h;
    }
    if (GetLastError() == ERROR_PIPE_BUSY)
      WaitNamedPipeW(name.c_str(), 1000);
    else
      Sleep(20);
  }
  return INVALID_HANDLE_VALUE;
}

TEST(JobReaderPipe, ByteModePipeDeliversTheWholeJob) {
  const std::wstring name = L"\\\\.\\pipe\\VYXQ5_4242_bytes";
  const std::string job = BigJob(10);
  CPipeServer server(name, job, PIPE_TYPE_BYTE, 65536);
  ASSERT_TRUE(server.Ok()) << GetLastError();
  HANDLE h = OpenPipe(name);
  ASSERT_NE(INVALID_HANDLE_VALUE, h) << GetLastError();
  CQzplJobData data;
  ASSERT_EQ(static_cast<std::int64_t>(job.size()), ReadJobStream(data, h));
  EXPECT_EQ(0, std::memcmp(job.data(), data.Text(), job.size()));
  EXPECT_EQ('\0', data.Text()[job.size()]);
  ASSERT_EQ(10, data.ParseJob());
  EXPECT_EQ(2u, data.pages[9]->graphicFields.size());
  EXPECT_EQ(data.pages[0]->graphicFields[0]->pixelCount, data.pages[0]->graphicFields[1]->pixelCount);
  EXPECT_TRUE(data.PerPageCopies().empty());
  // The reader closes the handle itself; a second close cannot be checked here, as the system may already have
  // given the same handle value to another object (the pipe server's thread opens and closes its own).
}

TEST(JobReaderPipe, MessageModeReadsKeepTheirBytesOnMoreData) {
  const std::wstring name = L"\\\\.\\pipe\\VYXQ5_4243_messages";
  const std::string job = BigJob(2);
  // Messages of 100000 bytes: every read of 65536 bytes ends with ERROR_MORE_DATA first.
  CPipeServer server(name, job, PIPE_TYPE_MESSAGE, 100000);
  ASSERT_TRUE(server.Ok()) << GetLastError();
  HANDLE h = OpenPipe(name, true);
  ASSERT_NE(INVALID_HANDLE_VALUE, h) << GetLastError();
  CQzplJobData data;
  ASSERT_EQ(static_cast<std::int64_t>(job.size()), ReadJobStream(data, h));
  EXPECT_EQ(0, std::memcmp(job.data(), data.Text(), job.size()));
  EXPECT_EQ(2, data.ParseJob());
}

TEST(JobReaderPipe, APipeClosedBeforeTheEndMarkerEndsReadingWithWhatCame) {
  const std::wstring name = L"\\\\.\\pipe\\VYXQ5_4244_short";
  std::string job = BigJob(1);
  job.resize(job.size() - 5);  // no "^XZ\r\n"
  CPipeServer server(name, job, PIPE_TYPE_BYTE, 65536);
  ASSERT_TRUE(server.Ok()) << GetLastError();
  HANDLE h = OpenPipe(name);
  ASSERT_NE(INVALID_HANDLE_VALUE, h) << GetLastError();
  CQzplJobData data;
  EXPECT_EQ(static_cast<std::int64_t>(job.size()), ReadJobStream(data, h));
  EXPECT_EQ(1, data.ParseJob());
}

TEST(JobReaderPipe, InvalidHandleIsMinusOneAndFilesEndAtTheirEnd) {
  CQzplJobData data;
  EXPECT_EQ(-1, ReadJobStream(data, INVALID_HANDLE_VALUE));

  wchar_t dir[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, dir);
  const std::wstring path = std::wstring(dir) + L"vyx_job_reader.zpl";
  const std::string text = testing::Header() + "^RR1,K\r\n^FO0,0\r\n^GFA,1,1,1,F0\r\n^XPG2,1\r\n";  // no ^XZ
  HANDLE w = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, w);
  DWORD n = 0;
  ASSERT_TRUE(WriteFile(w, text.data(), static_cast<DWORD>(text.size()), &n, nullptr));
  CloseHandle(w);
  HANDLE r = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, r);
  EXPECT_EQ(static_cast<std::int64_t>(text.size()), ReadJobStream(data, r));
  ASSERT_EQ(1, data.ParseJob());
  EXPECT_EQ(2, data.pages[0]->copies);
  DeleteFileW(path.c_str());
}

TEST(JobReaderPipe, PerPageCopiesFileIsReadFromTheSharedDocumentsAndDeleted) {
  std::wstring folder;
  ASSERT_TRUE(GetSharedDocumentsFolder(folder));
  EXPECT_NE(std::wstring::npos, folder.find(L"Public")) << std::string(folder.begin(), folder.end());
  const std::wstring path = folder + L"\\PerPageCopies_777.dat";
  const unsigned char table[] = {4, 0, 1, 0, 0xFB, 0xFF};  // 4, 1, -5
  HANDLE w = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, w) << GetLastError();
  DWORD n = 0;
  ASSERT_TRUE(WriteFile(w, table, sizeof table, &n, nullptr));
  CloseHandle(w);

  // The stream comes first: the table is read no further than its page lines can look up.
  CQzplJobData data;
  const std::string text = testing::Header() + "^RR1,K\r\n^XPG2,1\r\n^RR1,K\r\n^XPG2,3\r\n^XPG2,2\r\n" +
                           testing::Trailer();
  data.SetText(text.data(), text.size());
  EXPECT_EQ(6, ReadPerPageCopies(data, 777));
  ASSERT_EQ(3u, data.PerPageCopies().size());
  EXPECT_EQ(4, data.PerPageCopies()[0]);
  EXPECT_EQ(-5, data.PerPageCopies()[2]);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));  // deleted
  EXPECT_EQ(-1, ReadPerPageCopies(data, 777));                           // gone now

  ASSERT_EQ(3, data.ParseJob());
  EXPECT_EQ(4, data.pages[0]->copies);
  EXPECT_EQ(-5, data.pages[1]->copies);
}

}  // namespace
}  // namespace vyx
