// Routing a page's paths into the shape collections, closing them, and accepting the results into the cut order.
#include "manager/model/cut_collection.h"

#include "manager/model/bezier_curve.h"
#include "manager/model/cut_order.h"
#include "manager/model/pen_commands.h"
#include "manager/model/text_scan.h"

namespace vyx {

namespace {

template <typename Char>
bool EndsWithBtw(std::basic_string_view<Char> tag) {
  constexpr Char kSuffix[] = {'_', 'b', 't', 'w'};
  if (tag.size() < 4) return false;
  for (std::size_t i = 0; i < 4; ++i) {
    if (tag[tag.size() - 4 + i] != kSuffix[i]) return false;
  }
  return true;
}

bool IsOpenPath(const CCutObj& path) {
  return path.lastPoint != path.firstPoint;
}

}  // namespace

bool IsBarTenderJobTag(std::string_view tag) {
  return EndsWithBtw(tag);
}
bool IsBarTenderJobTag(std::wstring_view tag) {
  return EndsWithBtw(tag);
}

void CCutCollector::Route(CCutObj* path) {
  if (path == nullptr) return;
  const bool large = SpannedArea(path->inkBox) > 1;

  if (large && IsOpenPath(*path)) {
    if (m_rect) CloseRect();
    if (m_ellipse) CloseEllipse();
    if (!m_fragments) m_fragments = std::make_unique<CFragmentedShape>();
    const int added = m_fragments->AddFragment(path);
    if (added == kFragmentMissing) {
      CloseFragments();
      AcceptAlone(path);
    } else if (added == kFragmentBackAtStart) {
      CloseFragments();
    }
    return;
  }

  const bool cornersPending = m_rect && m_rect->pendingCorners > 0;
  if (m_options.barTender && (cornersPending || IsBarTenderSide(*path))) {
    if (m_fragments) CloseFragments();
    if (m_ellipse) CloseEllipse();
    if (!m_rect) m_rect = std::make_unique<CBarTenderRect>();
    if (m_rect->AddSide(path) == kSideFinished) CloseRect();
    return;
  }

  if (m_options.barTender && IsBarTenderArc(*path)) {
    if (m_fragments) CloseFragments();
    if (m_rect) CloseRect();
    if (!m_ellipse) m_ellipse = std::make_unique<CBarTenderEllipsis>();
    if (m_ellipse->AddArc(path) == kArcComplete) CloseEllipse();
    return;
  }

  Finish();
  AcceptAlone(path);
}

void CCutCollector::Finish() {
  if (m_fragments) CloseFragments();
  if (m_rect) CloseRect();
  if (m_ellipse) CloseEllipse();
}

void CCutCollector::CloseFragments() {
  std::unique_ptr<CFragmentedShape> shape = std::move(m_fragments);
  const int result = shape->Assemble();
  if (result == kAssembleDone) {
    AcceptCut(m_page, shape.release());
  } else if (result != kAssembleAbandoned) {
    // Too few fragments, or ends that do not meet: each piece is cut as it came.
    AcceptAllAlone(shape->TakeFragments());
  }
}

void CCutCollector::CloseRect() {
  std::unique_ptr<CBarTenderRect> rect = std::move(m_rect);
  if (rect->IsComplete()) {
    AcceptCut(m_page, rect.release());
  } else {
    AcceptAllAlone(rect->TakePieces());
  }
}

void CCutCollector::CloseEllipse() {
  std::unique_ptr<CBarTenderEllipsis> ellipse = std::move(m_ellipse);
  if (ellipse->Arcs().size() == 4 && ellipse->Build()) {
    AcceptCut(m_page, ellipse.release());
  } else {
    AcceptAllAlone(ellipse->TakeArcs());
  }
}

void CCutCollector::AcceptAlone(CCutObj* path) {
  const bool plain = path->GetType() == kTypeCutObj;
  char* const end = path->textEnd;
  if (AcceptCut(m_page, path) && plain && m_options.progress != nullptr) {
    m_options.progress->AtText(kProgressRead, kProgressParsed - kProgressRead, end);
  }
}

void CCutCollector::AcceptAllAlone(std::vector<CCutObj*> paths) {
  for (CCutObj* path : paths) AcceptAlone(path);
}

CCutObj* ReadCutPath(char* hit, char* limit, CDebugOutput* debug, char*& next) {
  auto* path = new CCutObj();
  char* end = path->Parse(hit, limit);
  if (end == nullptr || end <= hit) {
    // Not even one whole line: no line end up to where the line scan stopped (the limit, a zero byte or a binary
    // payload running past the limit). Every later hit before that point would run into the same stop, so the
    // search carries on from there instead of scanning the same rest again for each of them.
    delete path;
    char* stop = nullptr;
    FindPenLineEnd(hit, limit, &stop);
    next = stop != nullptr && stop > hit + 3 ? stop : hit + 3;
    return nullptr;
  }
  next = end;
  if (path->bezierCount == 0) return path;
  std::unique_ptr<CBezierCurve> curve = BuildBezierCurve(*path, debug);
  if (!curve) return path;
  delete path;
  return curve.release();
}

int CollectPageCuts(CQzplPage& page, char* from, char* pageEnd, const CCutCollectOptions& options) {
  if (from == nullptr || pageEnd == nullptr || from >= pageEnd) return 0;
  CCutCollector collector(page, options);
  int paths = 0;
  char* next = from;
  for (char* hit = LineSearch(from, pageEnd, "^RP"); hit != nullptr; hit = LineSearch(next, pageEnd, "^RP")) {
    CCutObj* path = ReadCutPath(hit, pageEnd, options.debug, next);
    if (path != nullptr) {
      collector.Route(path);
      ++paths;
    }
    if (next >= pageEnd) break;
  }
  collector.Finish();
  return paths;
}

}  // namespace vyx
