// CFragmentedShape: adding fragments, assembling an outline from them (order, reversal, rotation, closing gaps)
// and the abandoned and open results.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/seams/draw_canvas.h"
#include "common/seams/output_channel.h"
#include "manager/model/bezier_curve.h"
#include "manager/model/fragmented_shape.h"

namespace vyx {
namespace {

// Strokes with their own texts, kept alive for the whole test.
class CStrokes {
 public:
  // A stroke through the given points (quarter dots): a pen-up move to the first, then pen-down moves.
  CCutObj* Make(const std::vector<CQuarterPoint>& points) {
    std::string text = "^RPU\r\n";
    for (std::size_t i = 0; i < points.size(); ++i) {
      text += "^RPM" + std::to_string(points[i].x) + "," + std::to_string(points[i].y) + "\r\n";
      if (i == 0) text += "^RPD\r\n";
    }
    text += "^RPU\r\n";
    m_texts.push_back(std::make_unique<std::string>(text + std::string(2, '\0')));
    std::string& kept = *m_texts.back();
    auto* stroke = new CCutObj;
    stroke->Parse(kept.data(), kept.data() + text.size());
    return stroke;
  }

 private:
  std::vector<std::unique_ptr<std::string>> m_texts;
};

// The square (0,0)-(400,400) in quarter dots cut into 8 pieces of 3 points, running clockwise on the screen
// (y downwards): corners and side middles P0..P7, each piece with its own middle point.
const CQuarterPoint kCorner[8] = {{0, 0}, {200, 0}, {400, 0}, {400, 200}, {400, 400}, {200, 400}, {0, 400}, {0, 200}};
const CQuarterPoint kMiddle[8] = {{100, 0},   {300, 0},   {400, 100}, {400, 300},
                                  {300, 400}, {100, 400}, {0, 300},   {0, 100}};

std::vector<CQuarterPoint> Piece(int k) {
  return {kCorner[k], kMiddle[k], kCorner[(k + 1) % 8]};
}
std::vector<CQuarterPoint> Reversed(std::vector<CQuarterPoint> points) {
  return {points.rbegin(), points.rend()};
}

const char kSquareText[] =
    "^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPM100,0\r\n^RPM200,0\r\n^RPM300,0\r\n^RPM400,0\r\n^RPM400,100\r\n^RPM400,200\r\n"
    "^RPM400,300\r\n^RPM400,400\r\n^RPM300,400\r\n^RPM200,400\r\n^RPM100,400\r\n^RPM0,400\r\n^RPM0,300\r\n"
    "^RPM0,200\r\n^RPM0,100\r\n^RPM0,0\r\n^RPU\r\n";

std::string SpanOf(const CQzplObj& obj) {
  return std::string(obj.textStart, obj.textEnd);
}

TEST(FragmentedShape, AddResultsFollowTheFragmentCount) {
  CStrokes strokes;
  CFragmentedShape shape;
  EXPECT_EQ(kTypeFragmentedShape, shape.GetType());
  EXPECT_EQ(kFragmentMissing, shape.AddFragment(nullptr));
  CCutObj* pointless = new CCutObj;  // parsed from nothing: no points
  EXPECT_EQ(kFragmentMissing, shape.AddFragment(pointless));
  delete pointless;  // not taken

  for (int k = 0; k < 5; ++k) EXPECT_EQ(kFragmentCollecting, shape.AddFragment(strokes.Make(Piece(k)))) << k;
  EXPECT_EQ(kAssembleTooFew, shape.Assemble());  // fewer than 6 never assemble
  // The sixth piece ends at (0,400): its box grown by 1 misses the first piece's box grown by 2.
  EXPECT_EQ(kFragmentNotBack, shape.AddFragment(strokes.Make(Piece(5))));
  EXPECT_EQ(kFragmentOddCount, shape.AddFragment(strokes.Make(Piece(6))));
  // The eighth ends at (0,0), where the first began.
  EXPECT_EQ(kFragmentBackAtStart, shape.AddFragment(strokes.Make(Piece(7))));
  EXPECT_EQ((CDotRect{0, 0, 101, 101}), shape.inkBox);
  EXPECT_EQ(8u, shape.Fragments().size());
}

TEST(FragmentedShape, AssemblesPiecesInListOrder) {
  CStrokes strokes;
  CFragmentedShape shape;
  for (int k = 0; k < 8; ++k) shape.AddFragment(strokes.Make(Piece(k)));
  ASSERT_EQ(kAssembleDone, shape.Assemble());
  EXPECT_EQ(kSquareText, SpanOf(shape));
  EXPECT_EQ(shape.Buffer(), shape.textStart);
  EXPECT_EQ(1, shape.closed);
  EXPECT_EQ((CQuarterPoint{0, 0}), shape.firstPoint);
  EXPECT_EQ((CQuarterPoint{0, 0}), shape.lastPoint);
  EXPECT_EQ(17, shape.pointCount);  // 3 of the first piece and 2 of each other
  EXPECT_EQ(0, shape.rotationCount);

  CMemoryChannel out;
  EXPECT_TRUE(shape.Write(out));
  EXPECT_EQ(kSquareText, out.Bytes());
  // The outline of the square in dots: 4 sides of 100 dots.
  CRasterCanvas canvas(110, 110);
  shape.Draw(canvas, 1, 1, CDotRect{0, 0, 110, 110}, 0, 0, 0, 0, MakeRgb(0, 0, 0));
  EXPECT_EQ(400u, canvas.CountInk());
}

TEST(FragmentedShape, ReversedPiecesAndTheOtherListDirection) {
  // First piece clockwise, all the others drawn anticlockwise and listed anticlockwise from the start: the second
  // piece turns the other way round the centre, so they are taken from the last to the second, each reversed.
  CStrokes strokes;
  CFragmentedShape shape;
  shape.AddFragment(strokes.Make(Piece(0)));
  for (int k = 7; k >= 1; --k) shape.AddFragment(strokes.Make(Reversed(Piece(k))));
  ASSERT_EQ(kAssembleDone, shape.Assemble());
  EXPECT_EQ(kSquareText, SpanOf(shape));
  EXPECT_EQ(17, shape.pointCount);

  // Clockwise list order with a few pieces drawn backwards (the second one forwards, which fixes the direction),
  // the final one among them.
  CFragmentedShape mixed;
  for (int k = 0; k < 8; ++k) mixed.AddFragment(strokes.Make(k % 2 == 1 && k > 1 ? Reversed(Piece(k)) : Piece(k)));
  ASSERT_EQ(kAssembleDone, mixed.Assemble());
  EXPECT_EQ(kSquareText, SpanOf(mixed));
}

TEST(FragmentedShape, ClosesAGapOfThreeDotsButNotFour) {
  CStrokes strokes;
  // The last piece stops 12 quarter dots (3 dots) short of (0,0): one move to the start replaces its moves.
  CFragmentedShape shape;
  for (int k = 0; k < 7; ++k) shape.AddFragment(strokes.Make(Piece(k)));
  EXPECT_EQ(kFragmentBackAtStart, shape.AddFragment(strokes.Make({{0, 200}, {0, 100}, {0, 12}})));
  ASSERT_EQ(kAssembleDone, shape.Assemble());
  const std::string expected =
      std::string(kSquareText)
          .replace(std::string(kSquareText).find("^RPM0,100\r\n"), std::string("^RPM0,100\r\n").size(), "");
  EXPECT_EQ(expected, SpanOf(shape));
  EXPECT_EQ(1, shape.closed);
  EXPECT_EQ((CQuarterPoint{0, 12}), shape.lastPoint);
  EXPECT_EQ(16, shape.pointCount);

  // 16 quarter dots (4 dots) short: the ends do not meet.
  CFragmentedShape open;
  for (int k = 0; k < 7; ++k) open.AddFragment(strokes.Make(Piece(k)));
  open.AddFragment(strokes.Make({{0, 200}, {0, 100}, {0, 16}}));
  EXPECT_EQ(kAssembleOpen, open.Assemble());
  EXPECT_EQ(0, open.closed);
  EXPECT_EQ(nullptr, open.textStart);
  EXPECT_EQ(8u, open.Fragments().size());

  // Across the other axis too: 13 quarter dots sideways.
  CFragmentedShape sideways;
  for (int k = 0; k < 7; ++k) sideways.AddFragment(strokes.Make(Piece(k)));
  sideways.AddFragment(strokes.Make({{0, 200}, {0, 100}, {13, 0}}));
  EXPECT_EQ(kAssembleOpen, sideways.Assemble());
}

TEST(FragmentedShape, RotatesPastShortPiecesAndUndoesTheRotationWhenOpen) {
  CStrokes strokes;
  // The first piece has only 2 points: the shape starts from the second and the short piece comes last.
  CFragmentedShape shape;
  shape.AddFragment(strokes.Make({kCorner[0], kCorner[1]}));
  for (int k = 1; k < 8; ++k) shape.AddFragment(strokes.Make(Piece(k)));
  ASSERT_EQ(kAssembleDone, shape.Assemble());
  EXPECT_EQ(1, shape.rotationCount);
  EXPECT_EQ((CQuarterPoint{200, 0}), shape.firstPoint);
  const std::string text = SpanOf(shape);
  EXPECT_EQ(0u, text.find("^RPU\r\n^RPM200,0\r\n^RPD\r\n^RPM300,0\r\n^RPM400,0\r\n^RPM400,100\r\n"));
  const std::string tail = "^RPM0,100\r\n^RPM0,0\r\n^RPM200,0\r\n^RPU\r\n";
  EXPECT_EQ(tail, text.substr(text.size() - tail.size()));
  EXPECT_EQ(16, shape.pointCount);

  // Two short pieces first, and the second (now the final one) ends too far from the start: the ends do not meet
  // and both short pieces return to the front.
  CFragmentedShape open;
  CCutObj* first = strokes.Make({kCorner[0], kCorner[1]});
  CCutObj* second = strokes.Make({kCorner[1], {380, 0}});  // stops 20 quarter dots before the third piece
  open.AddFragment(first);
  open.AddFragment(second);
  for (int k = 2; k < 8; ++k) open.AddFragment(strokes.Make(Piece(k)));
  EXPECT_EQ(kAssembleOpen, open.Assemble());
  EXPECT_EQ(0, open.rotationCount);
  EXPECT_EQ(first, open.Fragments()[0]);
  EXPECT_EQ(second, open.Fragments()[1]);
}

TEST(FragmentedShape, AllShortPiecesAreAbandoned) {
  CStrokes strokes;
  CFragmentedShape shape;
  std::vector<CCutObj*> added;
  for (int k = 0; k < 6; ++k) {
    added.push_back(strokes.Make({kCorner[k], kCorner[k + 1]}));
    shape.AddFragment(added.back());
  }
  EXPECT_EQ(kAssembleAbandoned, shape.Assemble());
  EXPECT_EQ(6, shape.rotationCount);
  EXPECT_EQ(added, shape.Fragments());  // every piece went round once
  EXPECT_EQ(nullptr, shape.textStart);
}

TEST(FragmentedShape, OwnsItsFragmentsUntilTheyAreTaken) {
  CStrokes strokes;
  std::vector<CCutObj*> taken;
  {
    CFragmentedShape shape;
    for (int k = 0; k < 3; ++k) shape.AddFragment(strokes.Make(Piece(k)));
    taken = shape.TakeFragments();
    EXPECT_TRUE(shape.Fragments().empty());
    shape.AddFragment(strokes.Make(Piece(3)));  // deleted with the shape (the leak checker watches)
  }
  ASSERT_EQ(3u, taken.size());
  EXPECT_EQ((CQuarterPoint{0, 0}), taken[0]->firstPoint);
  for (CCutObj* fragment : taken) delete fragment;
}

TEST(FragmentedShape, FragmentsFromSeparateBuffersIncludingCurves) {
  // A flattened curve lives in a buffer of its own, far from the job text: the shape still sizes its buffer
  // from the fragments' lengths.
  CStrokes strokes;
  CFragmentedShape shape;
  for (int k = 0; k < 7; ++k) shape.AddFragment(strokes.Make(Piece(k)));
  std::string source = "^RPU\r\n^RPM0,200\r\n^RPD\r\n^RPB0,150,0,50,0,0\r\n^RPU\r\n";
  source += std::string(2, '\0');
  CCutObj stroke;
  stroke.Parse(source.data(), source.data() + source.size() - 2);
  std::unique_ptr<CBezierCurve> curve = BuildBezierCurve(stroke, nullptr);
  ASSERT_EQ(2, curve->pointCount);
  EXPECT_EQ(kFragmentBackAtStart, shape.AddFragment(curve.release()));
  ASSERT_EQ(kAssembleDone, shape.Assemble());
  const std::string text = SpanOf(shape);
  const std::string tail = "^RPM0,400\r\n^RPM0,300\r\n^RPM0,200\r\n^RPM0,0\r\n^RPU\r\n";
  EXPECT_EQ(tail, text.substr(text.size() - tail.size()));
  EXPECT_EQ(1, shape.bezierCount);
  EXPECT_LE(static_cast<std::size_t>(shape.textLength), shape.Capacity());
}

}  // namespace
}  // namespace vyx
