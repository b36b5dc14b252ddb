// The plotter path case: strokes, flattened curves, fragmented shapes, writing and drawing.
#include "fuzz/targets/cut_path_target.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "common/seams/debug_output.h"
#include "common/seams/draw_canvas.h"
#include "common/seams/output_channel.h"
#include "manager/model/bezier_curve.h"
#include "manager/model/fragmented_shape.h"

namespace vyx::fuzz {

namespace {

[[noreturn]] void Fail(const char* what, int line) {
  std::fprintf(stderr, "cut_path_target: invariant broken at line %d: %s\n", line, what);
  std::abort();
}

#define PATH_CHECK(cond)                \
  do {                                  \
    if (!(cond)) Fail(#cond, __LINE__); \
  } while (0)

// Inputs this large only repeat what smaller ones show; the cap keeps each run fast.
constexpr int kMaxObjects = 400;

void CheckCut(const CCutObj& cut, const char* lo, const char* hi) {
  PATH_CHECK(cut.textStart != nullptr && cut.textStart >= lo && cut.textEnd >= cut.textStart && cut.textEnd <= hi);
  PATH_CHECK(cut.textLength == cut.textEnd - cut.textStart);
  PATH_CHECK(cut.pointCount >= 0 && cut.bezierCount >= 0);
  PATH_CHECK(cut.closed == 0 || cut.closed == 1);
  if (cut.closed != 0) PATH_CHECK(cut.lastPoint == cut.firstPoint || cut.GetType() == kTypeFragmentedShape);
  if (cut.HasInk()) PATH_CHECK(!cut.inkBox.IsEmpty());
  if (cut.pointCount > 0 && cut.GetType() == kTypeCutObj) PATH_CHECK(cut.HasInk());
}

// An object's own text is made of whole ^RP lines: it starts with "^RP" and ends with CR LF. (A line may hold any
// byte, zero included, inside the payload of a binary bitmap command that the line search jumps over.)
void CheckOwnText(const CQzplObj& obj) {
  const std::size_t n = static_cast<std::size_t>(obj.textEnd - obj.textStart);
  if (n == 0) return;
  PATH_CHECK(n >= 5 && std::memcmp(obj.textStart, "^RP", 3) == 0);
  PATH_CHECK(obj.textEnd[-2] == '\r' && obj.textEnd[-1] == '\n');
}

void WriteAndDraw(CCutObj& cut, int dx, int dy) {
  CMemoryChannel out;
  PATH_CHECK(cut.Write(out));
  PATH_CHECK(out.Bytes().size() == static_cast<std::size_t>(cut.textLength));
  CRasterCanvas dc(32, 32);
  const int x = cut.HasInk() ? static_cast<int>(-(static_cast<std::int64_t>(cut.inkBox.left) / 2)) : 0;
  const int y = cut.HasInk() ? static_cast<int>(-(static_cast<std::int64_t>(cut.inkBox.top) / 2)) : 0;
  cut.Draw(dc, x, y, CDotRect{0, 0, 32, 32}, dx, dy, -dx, 1, MakeRgb(0, 0, 0));
  cut.Draw(dc, dx, dy, CDotRect{-1000000000, -1000000000, 1000000000, 1000000000}, dx, dy, dx, dy, MakeRgb(9, 9, 9));
}

void FinishShape(std::unique_ptr<CFragmentedShape>& shape, int dx, int dy) {
  if (shape == nullptr) return;
  const std::size_t count = shape->Fragments().size();
  const int result = shape->Assemble();
  PATH_CHECK(result == kAssembleTooFew || result == kAssembleOpen || result == kAssembleDone ||
             result == kAssembleAbandoned);
  if (count < 6) PATH_CHECK(result == kAssembleTooFew);
  PATH_CHECK(shape->Fragments().size() == count);
  if (result == kAssembleDone) {
    PATH_CHECK(shape->closed == 1);
    CheckCut(*shape, shape->Buffer(), shape->Buffer() + shape->Capacity());
    CheckOwnText(*shape);
    PATH_CHECK(shape->textLength >= 6 && std::memcmp(shape->textEnd - 6, "^RPU\r\n", 6) == 0);
    WriteAndDraw(*shape, dx, dy);
  }
  if (result != kAssembleDone && result != kAssembleAbandoned) {
    for (CCutObj* fragment : shape->TakeFragments()) delete fragment;
  }
  shape.reset();
}

void FlattenOneSegment(const std::uint8_t* data, std::size_t size) {
  if (size < 33) return;
  std::int32_t v[8];
  std::memcpy(v, data, sizeof v);
  const CQuarterPoint p0{v[0], v[1]};
  const CQuarterPoint c[3] = {{v[2], v[3]}, {v[4], v[5]}, {v[6], v[7]}};
  const int maxPoints = data[32] % 60;
  CQuarterPoint out[kMaxBezierPoints];
  CCollectingDebugOutput debug;
  const int n = FlattenBezierSegment(p0, c, maxPoints, out, &debug);
  PATH_CHECK(n >= 1 && n <= kMaxBezierPoints && n <= (maxPoints < 1 ? 1 : maxPoints));
  PATH_CHECK(out[n - 1] == c[2]);
}

}  // namespace

int RunCutPathCase(const std::uint8_t* data, std::size_t size) {
  FlattenOneSegment(data, size);

  std::string text(reinterpret_cast<const char*>(data), size);
  text.append(2, '\0');
  char* buf = text.data();
  char* limit = buf + size;
  const int dx = size > 0 ? static_cast<std::int8_t>(data[0]) : 0;
  const int dy = size > 1 ? static_cast<std::int8_t>(data[1]) : 0;

  CCollectingDebugOutput debug;
  std::unique_ptr<CFragmentedShape> shape;
  char* p = buf;
  for (int objects = 0; objects < kMaxObjects; ++objects) {
    const void* hit = nullptr;
    for (char* q = p; q + 3 <= limit; ++q) {
      if (q[0] == '^' && q[1] == 'R' && q[2] == 'P') {
        hit = q;
        break;
      }
    }
    if (hit == nullptr) break;
    char* start = static_cast<char*>(const_cast<void*>(hit));
    auto* stroke = new CCutObj;
    char* next = stroke->Parse(start, limit);
    PATH_CHECK(next != nullptr && next >= start && next <= limit && next == stroke->textEnd);
    CheckCut(*stroke, buf, limit);
    p = next > start ? next : start + 3;

    CCutObj* cut = stroke;
    if (stroke->bezierCount != 0) {
      std::unique_ptr<CBezierCurve> curve = BuildBezierCurve(*stroke, &debug);
      PATH_CHECK(curve != nullptr);
      CheckCut(*curve, curve->Buffer(), curve->Buffer() + curve->Used());
      PATH_CHECK(curve->Allocated() == curve->Used() + 1 && curve->Buffer()[curve->Used()] == '\0');
      PATH_CHECK(static_cast<std::size_t>(curve->textLength) <= curve->Capacity());
      PATH_CHECK(curve->bezierCount == stroke->bezierCount);
      CheckOwnText(*curve);
      delete stroke;
      cut = curve.release();
    }
    WriteAndDraw(*cut, dx, dy);

    if (cut->inkBox.Area() >= 2 && cut->closed == 0) {
      if (shape == nullptr) shape = std::make_unique<CFragmentedShape>();
      const int added = shape->AddFragment(cut);
      PATH_CHECK(added >= kFragmentCollecting && added <= kFragmentBackAtStart);
      if (added == kFragmentBackAtStart) FinishShape(shape, dx, dy);
      continue;
    }
    FinishShape(shape, dx, dy);
    delete cut;
  }
  FinishShape(shape, dx, dy);
  return 0;
}

}  // namespace vyx::fuzz
