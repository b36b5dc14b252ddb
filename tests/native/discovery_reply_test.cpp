// Discovery replies as they come off the network: whole entries only, at most three, fields decoded exactly, and
// devices seen twice listed once.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "setup/discovery_reply.h"
#include "tests/standins/printer_sim.h"

namespace vyx {
namespace {

using testing::CPrinterSimulator;
using testing::CSimulatedPrinter;

CSimulatedPrinter Printer(std::uint32_t address, std::uint8_t last_mac_byte, std::uint32_t value = 0) {
  return {address, {0x00, 0x1B, 0xA9, 0x0C, 0x7E, last_mac_byte}, value};
}

TEST(DiscoveryRequest, IsTheTextAndOneZeroByte) {
  EXPECT_EQ(std::string("Discover Zavo Printer", 21) + '\0', std::string(kDiscoveryRequest, kDiscoveryRequestSize));
}

TEST(DiscoveryReply, EntryFieldsAreDecodedAtTheirOffsets) {
  const std::string entry = CPrinterSimulator::MakeEntry({0xC0A8002Au, {0x00, 0x1B, 0xA9, 0xFE, 0x0A, 0xB1}, 0x1003});
  std::vector<DEVICE_DATA> devices;
  ASSERT_EQ(1u, ParseDiscoveryReply(reinterpret_cast<const std::uint8_t*>(entry.data()), entry.size(), devices));
  EXPECT_STREQ("192.168.0.42", devices[0].ip);
  EXPECT_STREQ("00:1b:a9:fe:0a:b1", devices[0].mac);
  EXPECT_EQ(0x1003u, devices[0].value);
}

TEST(DiscoveryReply, OnlyEntriesWithAllTheirFieldsInsideTheDatagramCount) {
  std::string three;
  for (std::uint8_t k = 1; k <= 4; ++k) three += CPrinterSimulator::MakeEntry(Printer(0x0A000000u + k, k));
  struct {
    std::size_t size;
    std::size_t entries;
  } const cases[] = {
      {0, 0},   {1, 0},   {67, 0},  {68, 1},  {255, 1}, {256, 1}, {257, 1},  {323, 1},
      {324, 2}, {512, 2}, {579, 2}, {580, 3}, {600, 3}, {768, 3}, {1024, 3},
  };
  for (const auto& c : cases) {
    std::vector<DEVICE_DATA> devices;
    EXPECT_EQ(c.entries, ParseDiscoveryReply(reinterpret_cast<const std::uint8_t*>(three.data()), c.size, devices))
        << c.size << " bytes";
    ASSERT_EQ(c.entries, devices.size());
    for (std::size_t k = 0; k < devices.size(); ++k) EXPECT_EQ("10.0.0." + std::to_string(k + 1), devices[k].Ip());
  }
  std::vector<DEVICE_DATA> none;
  EXPECT_EQ(0u, ParseDiscoveryReply(nullptr, 600, none));
}

TEST(DiscoveryReply, ParsingAppendsToTheList) {
  const std::string entry = CPrinterSimulator::MakeEntry(Printer(0x0A000001u, 1));
  std::vector<DEVICE_DATA> devices;
  ParseDiscoveryReply(reinterpret_cast<const std::uint8_t*>(entry.data()), entry.size(), devices);
  ParseDiscoveryReply(reinterpret_cast<const std::uint8_t*>(entry.data()), entry.size(), devices);
  EXPECT_EQ(2u, devices.size());
}

DEVICE_DATA Device(const char* ip, const char* mac) {
  DEVICE_DATA d = {};
  std::snprintf(d.ip, sizeof d.ip, "%s", ip);
  std::snprintf(d.mac, sizeof d.mac, "%s", mac);
  return d;
}

TEST(DiscoveryReply, DuplicatesByMacAreRemovedKeepingTheFirst) {
  std::vector<DEVICE_DATA> devices = {Device("10.0.0.1", "aa"), Device("10.0.0.2", "bb"), Device("10.0.0.9", "aa"),
                                      Device("10.0.0.3", "cc"), Device("10.0.0.2", "bb")};
  RemoveDuplicateDevices(devices);
  ASSERT_EQ(3u, devices.size());
  EXPECT_EQ("10.0.0.1", devices[0].Ip());
  EXPECT_EQ("10.0.0.2", devices[1].Ip());
  EXPECT_EQ("10.0.0.3", devices[2].Ip());
}

TEST(DiscoveryReply, AddNewDeviceSkipsKnownMacsAndStopsAtTheLimit) {
  std::vector<DEVICE_DATA> devices;
  EXPECT_TRUE(AddNewDevice(devices, Device("10.0.0.1", "aa"), 2));
  EXPECT_FALSE(AddNewDevice(devices, Device("10.0.0.7", "aa"), 2));
  EXPECT_TRUE(AddNewDevice(devices, Device("10.0.0.2", "bb"), 2));
  EXPECT_FALSE(AddNewDevice(devices, Device("10.0.0.3", "cc"), 2));
  EXPECT_EQ(2u, devices.size());
}

TEST(Ipv4Text, RoundTripsAndRejectsAnythingButFourNumbers) {
  EXPECT_EQ("192.168.0.1", FormatIpv4(0xC0A80001u));
  EXPECT_EQ("255.255.255.255", FormatIpv4(kLimitedBroadcast));
  std::uint32_t address = 0;
  ASSERT_TRUE(ParseIpv4("127.0.0.1", address));
  EXPECT_EQ(0x7F000001u, address);
  for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1..2.3", "1.2.3.4 ", "a.b.c.d", "1.2.3.1234",
                          "-1.2.3.4", "1.2.3.4:80"}) {
    EXPECT_FALSE(ParseIpv4(bad, address)) << bad;
  }
}

}  // namespace
}  // namespace vyx
