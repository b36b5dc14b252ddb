// The job object family base: every object of the job model is a span of job text
// (CQzplObj) and answers a type code; drawable objects (CGraphicObj and below) add Draw and an ink box.
//
// Interface contract (kept stable; other parts of the model derive from these classes):
//  - Virtual slots in this order: GetType, Parse, Write, then Draw for CGraphicObj.
//  - Parse(pos, limit): reads the object from pos; `limit` is the first byte after the text that may be read
//    (the job buffer's data end, or the end of the object's own buffer). The byte at `limit` is readable and
//    zero for the job buffer (two zero bytes follow the data), but nothing at or beyond `limit` is ever taken
//    as content. Returns the position after the object, or nullptr when the object could not be read.
//  - Write(out): writes the object's printer commands; true only when every byte was accepted.
//  - Owners decide by type code what to delete and how (master pages, synthetic-field source lists); the
//    destructor is virtual as well so that deleting through a base pointer is always well defined.
#pragma once

#include <cstdint>

#include "common/seams/draw_canvas.h"
#include "common/seams/output_channel.h"

namespace vyx {

// The unset coordinate: a bound or home position not given yet.
constexpr std::int32_t kUnsetCoord = -111111111;
// Printable tape width in dots.
constexpr std::int32_t kTapeWidthDots = 1217;

// Type codes of the job object family.
enum EQzplType : int {
  kTypeQzplObj = 0,
  kTypeQzplPage = 1,
  kTypeGraphicObj = 2,
  kTypeGraphicField = 3,
  kTypeSyntheticGraphicField = 4,
  kTypeGraphicFieldClone = 5,
  kTypeCutObj = 6,
  kTypeRoundedRect = 7,
  kTypeBarTenderRect = 8,
  kTypeBezierCurve = 9,
  kTypeFragmentedShape = 10,
  kTypeBarTenderEllipsis = 11,
  kTypeTapeCutSet = 12,
  kTypeQzplHeader = 13,
  kTypeCustomQzplHeader = 14,
};

// True for the bitmap field types 3, 4, 5 and for the cut object types 6 to 11.
constexpr bool IsGraphicFieldType(int type) {
  return type >= kTypeGraphicField && type <= kTypeGraphicFieldClone;
}
constexpr bool IsCutObjType(int type) {
  return type >= kTypeCutObj && type <= kTypeBarTenderEllipsis;
}

// A rectangle in dots: left, top, right, bottom; right and bottom exclusive. Empty when right <= left or
// bottom <= top (a rectangle with unset bounds is empty too).
struct CDotRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  static constexpr CDotRect Unset() { return {kUnsetCoord, kUnsetCoord, kUnsetCoord, kUnsetCoord}; }
  constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
  constexpr bool HasUnsetBound() const {
    return left == kUnsetCoord || top == kUnsetCoord || right == kUnsetCoord || bottom == kUnsetCoord;
  }
  constexpr std::int64_t Width() const { return static_cast<std::int64_t>(right) - left; }
  constexpr std::int64_t Height() const { return static_cast<std::int64_t>(bottom) - top; }
  // Width x height; 0 for an empty rectangle; saturates at INT64_MAX.
  constexpr std::int64_t Area() const {
    if (IsEmpty()) return 0;
    if (Height() > INT64_MAX / Width()) return INT64_MAX;
    return Width() * Height();
  }
  friend constexpr bool operator==(const CDotRect&, const CDotRect&) = default;
};

// Intersection of two rectangles; empty (all zero) when they do not overlap.
CDotRect IntersectRect(const CDotRect& a, const CDotRect& b);
// Union of two rectangles; an empty operand is ignored (the union of two empty rectangles is all zero).
CDotRect UnionRect(const CDotRect& a, const CDotRect& b);

class CQzplObj {
 public:
  CQzplObj() = default;
  CQzplObj(const CQzplObj&) = default;
  CQzplObj& operator=(const CQzplObj&) = default;

  // Slot 1: the type code.
  virtual int GetType() const { return kTypeQzplObj; }
  // Slot 2: the base version takes the rest of the text: start = pos, length = string length of the text
  // (stopping at a zero byte or at limit), end = start + length. Returns the end.
  virtual char* Parse(char* pos, char* limit);
  // Slot 3: the base version writes the span start..end unchanged.
  virtual bool Write(COutputChannel& out);

  virtual ~CQzplObj() = default;

  // Sets the span to [start, end) and the length to end - start.
  void SetSpan(char* start, char* end);

  char* textStart = nullptr;    // first byte of the object's text (job buffer or own buffer)
  char* textEnd = nullptr;      // first byte after the object's text
  std::int32_t textLength = 0;  // end - start
};

// Drawable objects: adds the ink box (bounding rectangle of set pixels or path points) and Draw.
class CGraphicObj : public CQzplObj {
 public:
  int GetType() const override { return kTypeGraphicObj; }
  // Slot 4: paints the object for the preview. The ink box, moved by (x + ox1 + ox2, y + oy1 + oy2), is
  // intersected with `clip`; nothing is drawn when that is empty.
  virtual void
  Draw(CDrawCanvas& dc, int x, int y, const CDotRect& clip, int ox1, int oy1, int ox2, int oy2, ColorRef colour) = 0;

  // Extend by point: left = x if x < left or unset, top likewise; right = x + 1 if right < x + 1 or unset,
  // bottom likewise. Returns whether anything changed.
  bool ExtendInkBox(std::int32_t x, std::int32_t y);
  // Extend by rectangle: if any bound is unset the ink box becomes r, else the union of both.
  // Returns whether the ink box changed.
  bool ExtendInkBox(const CDotRect& r);
  bool HasInk() const { return !inkBox.HasUnsetBound(); }

  CDotRect inkBox = CDotRect::Unset();
};

}  // namespace vyx
