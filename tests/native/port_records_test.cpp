// The port-name rule and the bytes of the Standard TCP/IP port records as the monitor reads them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "setup/port_records.h"

namespace vyx {
namespace {

std::uint32_t Word(const std::uint8_t* bytes, std::size_t at) {
  return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 | std::uint32_t{bytes[at + 2]} << 16 |
         std::uint32_t{bytes[at + 3]} << 24;
}

// The UTF-16LE text at a byte offset, up to its zero.
std::string Text(const std::uint8_t* bytes, std::size_t at, std::size_t units) {
  std::string text;
  for (std::size_t i = 0; i < units; ++i) {
    const unsigned unit = bytes[at + 2 * i] | bytes[at + 2 * i + 1] << 8;
    if (unit == 0) return text;
    text += unit < 0x80 ? static_cast<char>(unit) : '?';
  }
  return text + "<no end>";
}

TEST(TcpIpPortName, AddressThenColonAndNumberOnlyWhenThereIsANumber) {
  EXPECT_EQ(L"TCP_IP_192.168.0.1:9100", MakeTcpIpPortName(L"192.168.0.1", L"9100"));
  EXPECT_EQ(L"TCP_IP_192.168.0.1", MakeTcpIpPortName(L"192.168.0.1", L""));
  EXPECT_EQ(L"TCP_IP_10.0.0.7:09100", MakeTcpIpPortName(L"10.0.0.7", L"09100"));  // the field's text as it is
}

TEST(PortData1, HoldsTheRawPortSettingsAtTheMonitorsOffsets) {
  PORT_DATA_1 record;
  ASSERT_TRUE(FillPortData1(record, L"TCP_IP_192.168.0.17:9100", L"192.168.0.17", 9100));
  std::uint8_t bytes[sizeof record];
  std::memcpy(bytes, &record, sizeof record);
  EXPECT_EQ("TCP_IP_192.168.0.17:9100", Text(bytes, 0, 64));
  EXPECT_EQ(1u, Word(bytes, 128));    // version
  EXPECT_EQ(1u, Word(bytes, 132));    // raw
  EXPECT_EQ(964u, Word(bytes, 136));  // size
  EXPECT_EQ(0u, Word(bytes, 140));
  EXPECT_EQ("192.168.0.17", Text(bytes, 144, 49));
  EXPECT_EQ("public", Text(bytes, 242, 33));
  EXPECT_EQ(1u, Word(bytes, 308));  // double spool
  EXPECT_EQ("", Text(bytes, 312, 33));
  EXPECT_EQ("192.168.0.17", Text(bytes, 378, 16));
  for (std::size_t i = 410; i < 952; ++i) ASSERT_EQ(0, bytes[i]) << "reserved byte " << i;
  EXPECT_EQ(9100u, Word(bytes, 952));
  EXPECT_EQ(0u, Word(bytes, 956));  // SNMP off
  EXPECT_EQ(1u, Word(bytes, 960));  // SNMP device index
}

TEST(PortData1, RefusesWhatItsFieldsCannotHoldWhole) {
  PORT_DATA_1 record;
  EXPECT_TRUE(FillPortData1(record, std::wstring(63, L'P'), L"255.255.255.255", 1));
  EXPECT_FALSE(FillPortData1(record, std::wstring(64, L'P'), L"10.0.0.1", 9100));
  EXPECT_EQ(0u, record.cbSize);
  EXPECT_FALSE(FillPortData1(record, L"", L"10.0.0.1", 9100));
  EXPECT_FALSE(FillPortData1(record, L"P", L"", 9100));
  EXPECT_FALSE(FillPortData1(record, L"P", L"1234567890123456", 9100));  // the address field holds 15 characters
}

TEST(DeletePortData1, HoldsTheNameAndVersionOne) {
  DELETE_PORT_DATA_1 record;
  ASSERT_TRUE(FillDeletePortData1(record, L"TCP_IP_10.0.0.7"));
  std::uint8_t bytes[sizeof record];
  std::memcpy(bytes, &record, sizeof record);
  EXPECT_EQ("TCP_IP_10.0.0.7", Text(bytes, 0, 64));
  for (std::size_t i = 128; i < 228; ++i) ASSERT_EQ(0, bytes[i]) << "reserved byte " << i;
  EXPECT_EQ(1u, Word(bytes, 228));
  EXPECT_EQ(0u, Word(bytes, 232));
  EXPECT_FALSE(FillDeletePortData1(record, std::wstring(64, L'P')));
}

TEST(PortRecordText, WideCharactersBeyondSixteenBitsBecomeSurrogatePairs) {
  char16_t field[4];
  ASSERT_TRUE(CopyUtf16Field(field, 4, std::wstring(1, static_cast<wchar_t>(0x1F5A8)) + L"a"));
  if (sizeof(wchar_t) == 4) {
    EXPECT_EQ(u'\xD83D', field[0]);
    EXPECT_EQ(u'\xDDA8', field[1]);
    EXPECT_EQ(u'a', field[2]);
  }
  EXPECT_FALSE(CopyUtf16Field(field, 4, L"abcd"));
  EXPECT_EQ(u'\0', field[0]);
}

}  // namespace
}  // namespace vyx
