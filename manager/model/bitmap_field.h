// Bitmap fields: CGraphicField read from a ^RR/^FO/^GF group, CSyntheticGraphicField built by merging,
// CGraphicFieldClone, pixel addressing, pixel transfer and the mergeable test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "manager/model/bitmap_budget.h"
#include "manager/model/qzpl_obj.h"

namespace vyx {

// Pixel transfer modes.
enum ETransferMode : int { kTransferKnockOut = 1, kTransferCopy = 2 };

// Default of the catalogue setting PacketWeightInPixels (section Palette of the colour catalogue), in square dots.
constexpr std::int64_t kDefaultPacketWeightInPixels = 50000;

class CGraphicField : public CGraphicObj {
 public:
  int GetType() const override { return kTypeGraphicField; }
  // Reads one ^RR/^FO/^GF group (at most one line of each kind, any order) from pos. Returns the start of the
  // line that ends the group; the current line's start when no further "\r\n^" follows (span end unset); nullptr
  // when the ^GF format is neither A nor B or the field's extent does not fit 32-bit dots (no pixels, no span end).
  char* Parse(char* pos, char* limit) override { return Parse(pos, limit, limit); }
  // The same, with the bitmap data read only up to dataLimit (the start of the next field).
  char* Parse(char* pos, char* limit, char* dataLimit);
  // Writes from the first ^FO of the span to the span end; false when there is no ^FO inside the span.
  bool Write(COutputChannel& out) override;
  void Draw(CDrawCanvas& dc, int x, int y, const CDotRect& clip, int ox1, int oy1, int ox2, int oy2, ColorRef colour)
      override;
  // Slot 5: 0 for plain and synthetic fields, the stored contact score for clones.
  virtual int GetContactScore() const { return 0; }

  // Formats "^RR%u,%s\r\n" and writes it.
  static bool WriteRibbonSelect(COutputChannel& out, unsigned ribbonIndex, const char* ribbonName);

  // 1 set, 0 clear, -1 outside the extent or the data, -2 unknown format.
  int PixelAt(std::int64_t x, std::int64_t y) const;
  // Set pixels in the 3 x 3 block centred on (x, y), centre included; positions outside count as clear.
  int NeighbourCount(std::int64_t x, std::int64_t y) const;
  // Sets the bit, adds 1 to the pixel count and extends the ink box; false for an unknown format or a
  // position outside the extent or the data.
  bool SetPixel(std::int64_t x, std::int64_t y);

  // Rows of the bitmap (extent height).
  std::int32_t RowCount() const { return extent.bottom > extent.top ? extent.bottom - extent.top : 0; }

  CDotRect extent{};            // origin x, y; right = x + 8 x bytes per row; bottom = y + rows
  char* data = nullptr;         // first data character of the bitmap
  char* dataEnd = nullptr;      // first byte after the data that may be read (bounded by the text's limit)
  std::int32_t totalBytes = 0;  // ^GF graphic field count
  std::int32_t bytesPerRow = 0;
  char format = 0;  // 'A' hexadecimal, 'B' binary; 0 when no ^GF line was read
  std::int32_t charsPerByte = 0;
  std::int32_t pixelsPerChar = 0;
  std::int32_t charsPerRow = 0;
  std::int64_t pixelCount = 0;
  std::int32_t strokeCount = 0;   // colour consolidation measure
  std::int32_t strokeLimit = 0;   // 0 until computed, 2147483647 when computed in full
  CDotRect largestSolidSquare{};  // colour consolidation measure
  std::uint32_t ribbonIndex = 0;
  ColorRef ribbonColour = 0;    // from the colour catalogue
  ColorRef purifiedColour = 0;  // derived from the ribbon colour by the colour consolidation
  char ribbonName[32] = {};
  std::uint8_t consolidationMark = 0;

 protected:
  // Decodes every data character, counting set pixels and extending the ink box.
  void DecodeBitmap();
};

class CSyntheticGraphicField : public CGraphicField {
 public:
  CSyntheticGraphicField() = default;
  CSyntheticGraphicField(const CSyntheticGraphicField&) = delete;
  CSyntheticGraphicField& operator=(const CSyntheticGraphicField&) = delete;
  // Frees the own buffer; deletes the sources when the ownership value is 0.
  ~CSyntheticGraphicField() override;

  int GetType() const override { return kTypeSyntheticGraphicField; }

  // Merges two fields into a new synthetic field: the union of the ink boxes becomes ink box
  // and extent, format values and ribbon come from the second source, every set pixel of both is copied in.
  // sameRibbon: both must carry the same ribbon index; synthetic sources hand over their source lists.
  // Returns nullptr (sources untouched) on an empty union, differing characters per byte, differing ribbons in
  // same-ribbon mode, or a bitmap larger than MaxBitmapBytes() or than what the budget has left.
  static CSyntheticGraphicField* Merge(CGraphicField& first,
                                       CGraphicField& second,
                                       bool sameRibbon,
                                       CBitmapBudget* budget = nullptr);

  // Builds the own buffer "^RR..\r\n^FO..\r\n^GF..," + zero-filled data + CR LF for the set extent, format,
  // ribbon index and name, and takes its size from `budget` (when set) until the field is deleted. False (the
  // field unchanged) when the bitmap would exceed MaxBitmapBytes(), 32-bit counts or what the budget has left.
  bool BuildEmptyBitmap();

  // The bytes that BuildEmptyBitmap would take for such a field; 0 when it would refuse.
  static std::size_t EmptyBitmapSize(const CDotRect& extent,
                                     std::int32_t charsPerByte,
                                     std::uint32_t ribbonIndex,
                                     const char* ribbonName);
  // Gives the own buffer's bytes back to the budget ahead of the field's end (a merge plan that has the field
  // deleted later counts it as gone now).
  void ReleaseBudget();
  // Counts `bytes` already taken from `budget` as the own buffer's: BuildEmptyBitmap of that size takes no more.
  void CountAsTaken(std::size_t bytes) { m_budgeted = bytes; }
  // Records the sources of the merge of two fields: second first; in same-ribbon mode synthetic sources hand
  // over their lists.
  void TakeSourcesOf(CGraphicField& first, CGraphicField& second, bool sameRibbon);

  // Upper bound for one synthetic bitmap (bytes of data); guards against absurd extents in damaged jobs.
  static std::size_t MaxBitmapBytes();
  static void SetMaxBitmapBytes(std::size_t bytes);

  // Lowers the bound for one scope (fuzzing keeps memory small) and puts the previous one back at its end.
  class CMaxBitmapBytesScope {
   public:
    explicit CMaxBitmapBytesScope(std::size_t bytes) : m_saved(MaxBitmapBytes()) { SetMaxBitmapBytes(bytes); }
    ~CMaxBitmapBytesScope() { SetMaxBitmapBytes(m_saved); }
    CMaxBitmapBytesScope(const CMaxBitmapBytesScope&) = delete;
    CMaxBitmapBytesScope& operator=(const CMaxBitmapBytesScope&) = delete;

   private:
    std::size_t m_saved;
  };

  std::vector<CGraphicField*> sources;
  std::int32_t sourceOwnership = 0;  // 0: owns (deletes) its sources; clones: position in the clone list
  std::uint8_t ownsBuffer = 0;
  CBitmapBudget* budget = nullptr;  // the job's allowance that the own buffer is counted in; outlives the field

 protected:
  std::unique_ptr<char[]> m_buffer;
  std::size_t m_bufferSize = 0;
  std::size_t m_budgeted = 0;  // bytes taken from `budget`
};

class CGraphicFieldClone : public CSyntheticGraphicField {
 public:
  int GetType() const override { return kTypeGraphicFieldClone; }
  int GetContactScore() const override { return contactScore; }

  // Clone as plain copy of a field: the field's whole state, sharing its text; ownership 0, contact score -1,
  // sources = { field }.
  static CGraphicFieldClone* CopyOf(CGraphicField& field);

  std::int32_t contactScore = -1;
};

// Whether Merge accepts the two fields, the bitmap's size aside: a non-empty union of the ink boxes, the same
// format (and ribbon in same-ribbon mode).
bool CanMergeFields(const CGraphicField& first, const CGraphicField& second, bool sameRibbon);
// Ink box and extent (the union of the ink boxes), format values, ribbon and colours (from the second source) of
// the merge of two fields, set on `merged` (which may be `first`).
void SetMergedLooks(CGraphicField& merged, const CGraphicField& first, const CGraphicField& second);

// Pixel transfer: for every pixel of the rectangle that is set in the source, knock-out mode clears the
// target's pixel (counting the pixels changed), copy mode sets it (counting the source pixels copied). Both
// fields must have the same format (0 is returned otherwise); the walk stops at the end of either field's data.
// The target's pixel count and ink box are left to the caller. `added` (when given) receives the pixels that a
// copy newly set in the target.
std::int64_t TransferPixels(const CGraphicField& source,
                            CGraphicField& target,
                            int mode,
                            const CDotRect& rect,
                            std::int64_t* added = nullptr);

// Mergeable test: same ribbon index, neither marked, a non-empty union of the ink boxes (a field without pixels
// counts with the other's ink box), and the two extents' areas plus packetWeight at least the area of that union.
bool IsMergeable(const CGraphicField& a,
                 const CGraphicField& b,
                 std::int64_t packetWeight = kDefaultPacketWeightInPixels);

}  // namespace vyx
