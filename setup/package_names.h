// Names of the driver package on the installation disk and error codes that both the driver package work and the
// printer work tell apart.
#pragma once

#include <cstdint>

namespace vyx {

inline constexpr wchar_t kInstallDiskFolder[] = L"..\\InstDisk\\";
inline constexpr wchar_t kPackageInfName[] = L"vyxqfive.inf";
inline constexpr wchar_t kPrintUiEntry[] = L"printui.dll,PrintUIEntry";

inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorInvalidPrinterName = 1801;

}  // namespace vyx
