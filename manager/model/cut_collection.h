// The cut collection of a page: every ^RP path before the page's ^XPG line becomes a cut object, is routed into
// the fragment, rectangle or ellipse collection that recognises it, and ends up in the page's cut order either
// inside the shape it belongs to or on its own.
#pragma once

#include <string_view>

#include "common/seams/debug_output.h"
#include "manager/model/bartender_ellipsis.h"
#include "manager/model/bartender_rect.h"
#include "manager/model/fragmented_shape.h"
#include "manager/model/job_progress.h"
#include "manager/model/page.h"

namespace vyx {

// A job from BarTender: its tag ends in "_btw" (case-sensitive).
bool IsBarTenderJobTag(std::string_view tag);
bool IsBarTenderJobTag(std::wstring_view tag);

struct CCutCollectOptions {
  bool barTender = false;            // rectangles and ellipses are recognised only in BarTender jobs
  CJobProgress* progress = nullptr;  // moved by every plain cut object accepted
  CDebugOutput* debug = nullptr;     // the Bezier flattening's consistency note
};

// Routes a page's paths one by one. At most one collection is open at a time: a path for another collection, a
// plain path and the end of the page close the open one first. Every path ends up in exactly one place: inside
// the accepted shape of its collection, in the cut order on its own, or deleted when the cut order refuses it.
class CCutCollector {
 public:
  CCutCollector(CQzplPage& page, const CCutCollectOptions& options) : m_page(page), m_options(options) {}
  CCutCollector(const CCutCollector&) = delete;
  CCutCollector& operator=(const CCutCollector&) = delete;
  // Closes whatever is still open.
  ~CCutCollector() { Finish(); }

  // Takes ownership of the path (a CCutObj or its CBezierCurve).
  void Route(CCutObj* path);
  // Closes the open collection: called at the end of the page.
  void Finish();

  bool HasOpenCollection() const { return m_fragments || m_rect || m_ellipse; }
  const CFragmentedShape* OpenFragments() const { return m_fragments.get(); }
  const CBarTenderRect* OpenRect() const { return m_rect.get(); }
  const CBarTenderEllipsis* OpenEllipse() const { return m_ellipse.get(); }

 private:
  void CloseFragments();
  void CloseRect();
  void CloseEllipse();
  // Accepts one path on its own.
  void AcceptAlone(CCutObj* path);
  void AcceptAllAlone(std::vector<CCutObj*> paths);

  CQzplPage& m_page;
  CCutCollectOptions m_options;
  std::unique_ptr<CFragmentedShape> m_fragments;
  std::unique_ptr<CBarTenderRect> m_rect;
  std::unique_ptr<CBarTenderEllipsis> m_ellipse;
};

// Reads a path at `hit` (limited by `limit`) and replaces it by its flattened curve when it holds Bezier lines.
// Returns the object (null when not even one whole line follows) and sets `next` to where the following search
// starts (always after `hit`).
CCutObj* ReadCutPath(char* hit, char* limit, CDebugOutput* debug, char*& next);

// Collects every ^RP path in [from, pageEnd) into the page's cut order (pageEnd is the page's ^XPG line). Returns
// the number of paths read.
int CollectPageCuts(CQzplPage& page, char* from, char* pageEnd, const CCutCollectOptions& options);

}  // namespace vyx
