// The catalogue from the printer-driver folder and the printer's material replies under Wine, with the test queue
// standing in for the language monitor's answer.
#include <windows.h>

#include <gtest/gtest.h>
#include "tests/win32/test_paths.h"

#include <fstream>
#include <string>

#include "manager/app/catalogue_win32.h"
#include "tests/win32/test_printer.h"

namespace vyx {
namespace {

TEST(Win32Catalogue, IsReadFromTheVersion3DriverFolder) {
  const std::wstring path = CataloguePath();
  ASSERT_FALSE(path.empty());
  EXPECT_NE(std::wstring::npos, path.find(L"\\spool\\drivers\\"));
  EXPECT_EQ(L"\\3\\VyxQ5Colors.ini", path.substr(path.size() - 18));
  CreateDirectoryW(path.substr(0, path.size() - 15).c_str(), nullptr);
  ASSERT_TRUE(CopyFileW(vyx::testing::WinePath(std::string(VYX_SOURCE_DIR) + "/resources/VyxQ5Colors.ini").c_str(),
                        path.c_str(), FALSE));
  CCatalogue catalogue;
  EXPECT_EQ(23, ReadCatalogueFromDriverFolder(catalogue, false, CLanguageText()));
  ASSERT_EQ(11u, catalogue.ribbons.size());
  EXPECT_EQ(L"White", catalogue.ribbons[0].name);  // brightest first
  EXPECT_EQ(L"Black", catalogue.ribbons.back().name);
  EXPECT_EQ(0u, catalogue.nonPunchMask & ~((1u << 0) | (1u << 19)));
  EXPECT_EQ(L"Black", catalogue.TapeClass(7));
  DeleteFileW(path.c_str());
}

TEST(Win32Catalogue, PrinterRepliesGiveTapeAndMaterials) {
  testing::CTestPrinterQueue queue(L"VYX Materials Test", testing::TempPath(L"vyx_materials.prn"));
  if (!queue.Ok()) GTEST_SKIP() << "the spooler did not take a test queue";
  const char reply[] = "6,1250\r\n9,300\r\n";
  ASSERT_TRUE(queue.SetData(kMaterialsQuery, reply, sizeof reply));
  EXPECT_EQ(6, AskLoadedTape(queue.Name()));
  const auto materials = AskLoadedMaterials(queue.Name());
  ASSERT_EQ(2u, materials.size());
  EXPECT_EQ(9, materials[1].id);
  EXPECT_EQ(300, materials[1].remainingCm);
}

TEST(Win32Catalogue, UnknownPrinterOrQueryGivesNothing) {
  EXPECT_EQ(-1, AskLoadedTape(L"No Such VYX Printer"));
  EXPECT_TRUE(AskLoadedMaterials(L"No Such VYX Printer").empty());
  testing::CTestPrinterQueue queue(L"VYX Silent Test", testing::TempPath(L"vyx_silent.prn"));
  if (!queue.Ok()) GTEST_SKIP() << "the spooler did not take a test queue";
  EXPECT_EQ(-1, AskLoadedTape(queue.Name()));  // no language monitor answers
}

}  // namespace
}  // namespace vyx
