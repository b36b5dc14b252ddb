// Cheapest insertion into a page's cut order, the travel it sums up, and the outline cut operations.
#include "manager/model/cut_order.h"

#include <algorithm>
#include <cmath>

namespace vyx {

namespace {

double Distance(CQuarterPoint a, CQuarterPoint b) {
  const double dx = static_cast<double>(a.x) - static_cast<double>(b.x);
  const double dy = static_cast<double>(a.y) - static_cast<double>(b.y);
  return std::sqrt(dx * dx + dy * dy);
}

void RefreshOutlineStart(CRoundedRect& outline) {
  outline.PlaceStartPoint();
  outline.closed = 1;
}

}  // namespace

std::int64_t SpannedArea(const CDotRect& bounds) {
  if (bounds.HasUnsetBound() || bounds.IsEmpty()) return 0;
  const std::int64_t w = bounds.Width() - 1;
  const std::int64_t h = bounds.Height() - 1;
  if (w == 0 || h == 0) return 0;
  if (h > INT64_MAX / w) return INT64_MAX;
  return w * h;
}

CQuarterPoint CutStartOf(const CGraphicObj& obj) {
  if (!IsCutObjType(obj.GetType())) return {};
  return static_cast<const CCutObj&>(obj).firstPoint;
}

double InsertCut(CQzplPage& page, CGraphicObj* obj) {
  if (obj == nullptr || SpannedArea(obj->inkBox) < 2) return -1;
  auto& order = page.cutObjects;
  const CQuarterPoint start = CutStartOf(*obj);
  double best = kNoInsertionCost;
  std::size_t bestAt = order.size();
  CQuarterPoint prev{0, 0};
  double prevToNew = Distance(prev, start);  // carried along: this position's d(new, c) is the next one's d(prev, new)
  for (std::size_t i = 0; i < order.size(); ++i) {
    const CQuarterPoint next = CutStartOf(*order[i]);
    const double newToNext = Distance(start, next);
    const double cost = prevToNew + newToNext - Distance(prev, next);
    if (cost < best) {
      best = cost;
      bestAt = i;
    }
    prev = next;
    prevToNew = newToNext;
  }
  const double atEnd = prevToNew;
  if (atEnd < best) {
    best = atEnd;
    bestAt = order.size();
  }
  order.insert(order.begin() + static_cast<std::ptrdiff_t>(bestAt), obj);
  // A cut on the line between two others costs nothing, but rounding can make it a hair below zero; a negative
  // result would read as a refusal of an object that is already in the order.
  return best < 0 ? 0.0 : best;
}

bool AcceptCut(CQzplPage& page, CGraphicObj* obj) {
  const double cost = InsertCut(page, obj);
  if (cost < 0) {
    delete obj;
    return false;
  }
  page.cutTravel += cost;
  page.contentBounds = UnionRect(page.contentBounds, obj->inkBox);
  return true;
}

bool HasCutObjects(const CQzplPage& page) {
  return std::any_of(page.cutObjects.begin(), page.cutObjects.end(), [](const CGraphicObj* c) {
    return c->GetType() != kTypeRoundedRect && SpannedArea(c->inkBox) > 1;
  });
}

CRoundedRect* FindOutline(const CQzplPage& page) {
  for (auto it = page.cutObjects.rbegin(); it != page.cutObjects.rend(); ++it) {
    if ((*it)->GetType() == kTypeRoundedRect) return static_cast<CRoundedRect*>(*it);
  }
  return nullptr;
}

bool AddOutline(CQzplPage& page, std::int32_t radius, bool evenIfCut) {
  if (FindOutline(page) != nullptr) return false;
  if (!evenIfCut && HasCutObjects(page)) return false;
  const CDotRect& r = page.printRect;
  auto* outline = new CRoundedRect(radius, r.left, r.top, r.right, r.bottom);
  const double cost = InsertCut(page, outline);
  if (cost < 0) {
    delete outline;
    return false;
  }
  page.cutTravel += cost;
  return true;
}

std::int64_t MaxOutlineRadius(const CQzplPage& page) {
  const std::int64_t smaller = std::min(page.printRect.Width(), page.printRect.Height());
  return static_cast<std::int64_t>(static_cast<double>(smaller) * 0.5 * 4.0);
}

bool SetOutlineRadius(CQzplPage& page, std::int32_t radius, std::int64_t* maximum) {
  const std::int64_t most = MaxOutlineRadius(page);
  if (most < radius) {
    if (maximum != nullptr) *maximum = most;
    return false;
  }
  CRoundedRect* outline = FindOutline(page);
  if (outline == nullptr) return false;
  if (outline->radius == radius) return true;
  outline->radius = radius;
  RefreshOutlineStart(*outline);
  RecomputeTravel(page);
  return true;
}

bool FitOutline(CQzplPage& page) {
  CRoundedRect* outline = FindOutline(page);
  if (outline == nullptr) return false;
  outline->inkBox = page.printRect;
  RefreshOutlineStart(*outline);
  RecomputeTravel(page);
  return true;
}

bool RemoveOutline(CQzplPage& page) {
  auto& order = page.cutObjects;
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    if ((*it)->GetType() != kTypeRoundedRect) continue;
    CGraphicObj* outline = *it;
    order.erase(std::next(it).base());
    // A copy page shares its master's objects and never deletes them.
    if (page.IsMaster()) delete outline;
    RecomputeTravel(page);
    return true;
  }
  return false;
}

void RecomputeTravel(CQzplPage& page) {
  double travel = 0;
  CQuarterPoint prev{0, 0};
  for (const CGraphicObj* c : page.cutObjects) {
    const CQuarterPoint next = CutStartOf(*c);
    travel += Distance(prev, next);
    prev = next;
  }
  page.cutTravel = travel;
}

}  // namespace vyx
