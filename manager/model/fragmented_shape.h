// CFragmentedShape: an outline that arrived as several open strokes, collected fragment by fragment and joined
// into one closed path in a buffer of its own. The shape owns its fragments.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "manager/model/cut_path.h"

namespace vyx {

// Results of adding a fragment.
enum : int {
  kFragmentMissing = -1,     // no stroke, or a stroke without points (not taken)
  kFragmentCollecting = 0,   // fewer than 6 fragments
  kFragmentOddCount = 1,     // an odd number of 6 or more
  kFragmentNotBack = 2,      // an even number of 6 or more, the new fragment far from the first one
  kFragmentBackAtStart = 3,  // an even number of 6 or more, the outline has come back to its start
};

// Results of assembling.
enum : int {
  kAssembleMissing = -1,     // a fragment is missing
  kAssembleTooFew = 0,       // fewer than 6 fragments
  kAssembleOpen = 2,         // the ends do not meet; the fragments stay in their original order
  kAssembleDone = 3,         // the joined path is the shape's span
  kAssembleAbandoned = -77,  // no fragment with more than 2 points to start from
};

// Widest gap, in quarter dots on each axis, that assembling closes with one straight move.
constexpr std::int64_t kMaxClosingGap = 12;

class CFragmentedShape : public CCutObj {
 public:
  CFragmentedShape() = default;
  CFragmentedShape(const CFragmentedShape&) = delete;
  CFragmentedShape& operator=(const CFragmentedShape&) = delete;
  ~CFragmentedShape() override;

  int GetType() const override { return kTypeFragmentedShape; }

  // Takes ownership of `stroke` unless the result is kFragmentMissing; extends the shape's ink box by the stroke's.
  int AddFragment(CCutObj* stroke);
  // Joins the fragments into one closed path (see the result codes above).
  int Assemble();

  const std::vector<CCutObj*>& Fragments() const { return m_fragments; }
  // Hands the fragments over to the caller, who then owns them; the shape keeps none.
  std::vector<CCutObj*> TakeFragments();

  // The joined path after a successful Assemble (null before).
  char* Buffer() { return m_buffer.get(); }
  std::size_t Capacity() const { return m_capacity; }

  std::int32_t rotationCount = 0;  // fragments moved from the front to the end before joining

 private:
  // Whether the fragment runs one way round the shape's centre (compared between fragments only).
  bool IsOrientedForward(const CCutObj& fragment) const;
  bool Append(const char* bytes, std::size_t len);
  // Appends the fragment's move lines: in text order without the first, or reversed without the last.
  void AppendMoves(const CCutObj& fragment, bool inTextOrder);
  int UndoRotation();

  std::vector<CCutObj*> m_fragments;
  std::unique_ptr<char[]> m_buffer;
  std::size_t m_capacity = 0;
  std::size_t m_used = 0;
};

}  // namespace vyx
