// What the printer says about its loaded materials: the reply to the status and ribbon request.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vyx {

// The request is the value name of a printer-data query; the language monitor answers it from the printer.
inline constexpr wchar_t kMaterialsQuery[] = L"^PSTA\r\n^PSRI\r\n";
inline constexpr std::size_t kMaterialsReplyBytes = 260;

struct CLoadedMaterial {
  std::int32_t id = -1;
  std::int32_t remainingCm = -1;
};

// The loaded tape: the reply's leading decimal number (0 when it starts with none).
std::int32_t ParseLoadedTape(const char* reply, std::size_t size);

// Up to two lines "id,remaining" separated by CR LF: the tape, then the ribbon. Reading stops at a line without a
// comma. The reply need not be terminated: nothing at or beyond `size` is read.
std::vector<CLoadedMaterial> ParseLoadedMaterials(const char* reply, std::size_t size);

// The same for the main window's status poll, which must not take a garbled reply for a material change: each line
// is exactly "digits,digits" (at most 9 digits each). A first line that is not gives no lines at all; a second
// line that is not is left out.
std::vector<CLoadedMaterial> ParseLoadedMaterialsStrict(const char* reply, std::size_t size);

}  // namespace vyx
