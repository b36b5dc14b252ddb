// vyxq5 discover and vyxq5 send against simulated printers on 127.0.0.1: the lines printed, the bytes received,
// and the errors and exit status when nothing answers, nothing listens or the printer gives up in the middle.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "tests/standins/printer_sim.h"
#include "tests/support/run_tool.h"

namespace vyx {
namespace {

using testing::CPrinterSimulator;
using testing::RunVyxq5;

std::string TempFile(const std::string& name, const std::string& bytes) {
  const std::string path = ::testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// A loopback port that nothing listens on.
std::uint16_t ClosedPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a = {};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(testing::kLoopback);
  socklen_t length = sizeof a;
  bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length);
  close(fd);
  return ntohs(a.sin_port);
}

bool WaitForJobs(const CPrinterSimulator& sim, int jobs) {
  for (int i = 0; i < 500 && sim.Jobs() < jobs; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return sim.Jobs() >= jobs;
}

TEST(DiscoverTool, ListsEachPrinterThatAnswersWithItsMac) {
  CPrinterSimulator sim;
  ASSERT_TRUE(sim.StartDiscovery({{0xC0A80011u, {0x00, 0x1B, 0xA9, 0x10, 0x20, 0x30}, 0},
                                  {0xC0A80012u, {0x00, 0x1B, 0xA9, 0x10, 0x20, 0x31}, 0},
                                  {0xC0A80011u, {0x00, 0x1B, 0xA9, 0x10, 0x20, 0x30}, 0}}));
  const auto run = RunVyxq5("discover --to 127.0.0.1:" + std::to_string(sim.DiscoveryPort()) + " --timeout 1", "");
  EXPECT_EQ(0, run.status);
  EXPECT_EQ("192.168.0.17     00:1b:a9:10:20:30\n192.168.0.18     00:1b:a9:10:20:31\n", run.out);
  EXPECT_EQ(1, sim.Requests());
}

TEST(DiscoverTool, NoAnswerAndBadArgumentsHaveTheirOwnStatus) {
  CPrinterSimulator silent;
  ASSERT_TRUE(silent.StartDiscoveryRaw(""));  // answers with an empty datagram: no printer in it
  const auto none = RunVyxq5("discover --to 127.0.0.1:" + std::to_string(silent.DiscoveryPort()) + " --timeout 0.3");
  EXPECT_EQ(1, none.status);
  EXPECT_EQ("vyxq5 discover: no printer answered\n", none.out);
  for (const char* bad : {"discover --to printer.local", "discover --to 127.0.0.1:0", "discover --timeout 0",
                          "discover --timeout", "discover --to 1.2.3.4 extra"}) {
    EXPECT_EQ(2, RunVyxq5(bad).status) << bad;
  }
}

TEST(SendTool, TheStreamArrivesUnchanged) {
  CPrinterSimulator printer;
  const std::string saved = ::testing::TempDir() + "vyx_send_saved.prn";
  ASSERT_TRUE(printer.StartRawPort(0, -1, saved));
  std::string stream = "^XA^RS1\r\n";
  for (int i = 0; i < 200000; ++i) stream += static_cast<char>(i * 7);
  const std::string file = TempFile("vyx_send_job.prn", stream);
  const auto run = RunVyxq5("send " + file + " --to 127.0.0.1:" + std::to_string(printer.RawPort()));
  EXPECT_EQ(0, run.status) << run.out;
  EXPECT_EQ("sent " + std::to_string(stream.size()) + " bytes to 127.0.0.1:" + std::to_string(printer.RawPort()) + "\n",
            run.out);
  ASSERT_TRUE(WaitForJobs(printer, 1));
  EXPECT_EQ(stream, printer.LastJob());
  std::ifstream in(saved, std::ios::binary);
  EXPECT_EQ(stream, std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

TEST(SendTool, APrinterThatClosesEarlyOrIsNotThereFailsClearly) {
  CPrinterSimulator failing;
  ASSERT_TRUE(failing.StartRawPort(0, 4096));
  const std::string file = TempFile("vyx_send_big.prn", std::string(24 << 20, 'Z'));
  const auto cut = RunVyxq5("send " + file + " --to 127.0.0.1:" + std::to_string(failing.RawPort()));
  EXPECT_EQ(1, cut.status);
  EXPECT_NE(std::string::npos, cut.out.find("closed the connection")) << cut.out;
  ASSERT_TRUE(WaitForJobs(failing, 1));
  EXPECT_EQ(4096u, failing.LastJob().size());

  const auto absent = RunVyxq5("send " + file + " --to 127.0.0.1:" + std::to_string(ClosedPort()));
  EXPECT_EQ(1, absent.status);
  EXPECT_NE(std::string::npos, absent.out.find("cannot reach 127.0.0.1:")) << absent.out;

  EXPECT_EQ(2, RunVyxq5("send " + file).status);
  EXPECT_EQ(2, RunVyxq5("send /nonexistent/job.prn --to 127.0.0.1").status);
  EXPECT_EQ(2, RunVyxq5("send " + file + " --to 127.0.0.1:99999").status);
}

}  // namespace
}  // namespace vyx
