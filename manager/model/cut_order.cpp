// Cheapest insertion into a page's cut order, the travel it sums up, and the outline cut operations.
#include "manager/model/cut_order.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vyx {

namespace {

double Distance(CQuarterPoint a, CQuarterPoint b) {
  const double dx = static_cast<double>(a.x) - static_cast<double>(b.x);
  const double dy = static_cast<double>(a.y) - static_cast<double>(b.y);
  return std::sqrt(dx * dx + dy * dy);
}

// Start points change in place only when an outline is placed anew; each such change makes every kept copy of
// start points stale.
std::atomic<std::uint64_t> g_startsGeneration{1};

void RefreshOutlineStart(CRoundedRect& outline) {
  outline.PlaceStartPoint();
  outline.closed = 1;
  ++g_startsGeneration;
}

// The start points of the cut order last inserted into, with the length of the leg that ends at each (from the
// previous start, or from the origin for the first), kept between insertions: cheapest insertion into a page of
// thousands of cuts then reads two arrays instead of every object. Valid for the same page, the same objects in
// the same order, and no start point moved since.
struct CStartsCache {
  std::uint64_t page = 0;
  std::uint64_t generation = 0;
  std::vector<CGraphicObj*> objects;
  std::vector<CQuarterPoint> starts;
  std::vector<double> legs;
};

static_assert(sizeof(CQuarterPoint) == 8, "start points are read as pairs of 32-bit values");

thread_local CStartsCache t_starts;

CStartsCache& StartsOf(const CQzplPage& page) {
  CStartsCache& c = t_starts;
  const auto& order = page.cutObjects;
  const std::uint64_t generation = g_startsGeneration.load(std::memory_order_relaxed);
  if (c.page == page.serial && c.generation == generation && c.objects.size() == order.size() &&
      (order.empty() || std::memcmp(c.objects.data(), order.data(), order.size() * sizeof(order[0])) == 0))
    return c;
  c.page = page.serial;
  c.generation = generation;
  c.objects.assign(order.begin(), order.end());
  c.starts.resize(order.size());
  c.legs.resize(order.size());
  CQuarterPoint prev{0, 0};
  for (std::size_t i = 0; i < order.size(); ++i) {
    c.starts[i] = CutStartOf(*order[i]);
    c.legs[i] = Distance(prev, c.starts[i]);
    prev = c.starts[i];
  }
  return c;
}

// A lower bound of (sqrt(a) + sqrt(b))^2 without square roots: a + b + 2 sqrt(ab) >= a + b + 2 min(a, b).
double SquaredSumBelow(double a, double b) {
  const double low = std::min(a, b);
  return (a + b) + (low + low);
}

// Squared distance from `p` to (sx, sy), formed exactly as Distance forms it.
double SquaredDistance(double sx, double sy, CQuarterPoint p) {
  const double dx = sx - static_cast<double>(p.x);
  const double dy = sy - static_cast<double>(p.y);
  return dx * dx + dy * dy;
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
  CStartsCache& c = StartsOf(page);
  const CQuarterPoint start = CutStartOf(*obj);
  const double sx = static_cast<double>(start.x), sy = static_cast<double>(start.y);
  const std::size_t n = c.starts.size();
  // Position i costs d(prev, new) + d(new, next) - leg(i), taken at the first position of the lowest cost. The
  // distances to the new start are shared by neighbouring positions and taken as square roots only where needed:
  // when the sum of the two distances clearly exceeds leg + best (compared squared through a lower bound, with a
  // margin far above any rounding), the position cannot beat the best one and is passed over; every other
  // position is costed exactly as one by one.
  double best = kNoInsertionCost;
  std::size_t bestAt = n;
  double prevSquared = SquaredDistance(sx, sy, CQuarterPoint{0, 0});
  double prevDistance = -1;  // the square root of prevSquared once taken
  const CQuarterPoint* starts = c.starts.data();
  const double* legs = c.legs.data();
  std::size_t i = 0;
  while (i < n) {
#if defined(__SSE2__)
    // Four positions at a time, passed over together when none of them can beat the best one. The squared
    // distances are formed exactly as one at a time, so the last of them can stand for the next position's.
    if (i + 4 <= n) {
      const __m128d vsx = _mm_set1_pd(sx), vsy = _mm_set1_pd(sy);
      const __m128i p01 = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(starts + i)), 0xD8);
      const __m128i p23 = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(starts + i + 2)), 0xD8);
      const __m128d dx01 = _mm_sub_pd(vsx, _mm_cvtepi32_pd(p01));
      const __m128d dy01 = _mm_sub_pd(vsy, _mm_cvtepi32_pd(_mm_srli_si128(p01, 8)));
      const __m128d dx23 = _mm_sub_pd(vsx, _mm_cvtepi32_pd(p23));
      const __m128d dy23 = _mm_sub_pd(vsy, _mm_cvtepi32_pd(_mm_srli_si128(p23, 8)));
      const __m128d s01 = _mm_add_pd(_mm_mul_pd(dx01, dx01), _mm_mul_pd(dy01, dy01));
      const __m128d s23 = _mm_add_pd(_mm_mul_pd(dx23, dx23), _mm_mul_pd(dy23, dy23));
      const __m128d sp01 = _mm_shuffle_pd(_mm_set1_pd(prevSquared), s01, 0);
      const __m128d sp23 = _mm_shuffle_pd(s01, s23, 1);
      const __m128d m01 = _mm_add_pd(_mm_add_pd(sp01, s01), _mm_add_pd(_mm_min_pd(sp01, s01), _mm_min_pd(sp01, s01)));
      const __m128d m23 = _mm_add_pd(_mm_add_pd(sp23, s23), _mm_add_pd(_mm_min_pd(sp23, s23), _mm_min_pd(sp23, s23)));
      const __m128d vbest = _mm_set1_pd(best), margin = _mm_set1_pd(1 + 1e-9), one = _mm_set1_pd(1);
      const __m128d r01 = _mm_add_pd(_mm_loadu_pd(legs + i), vbest);
      const __m128d r23 = _mm_add_pd(_mm_loadu_pd(legs + i + 2), vbest);
      const __m128d t01 = _mm_add_pd(_mm_mul_pd(_mm_mul_pd(r01, r01), margin), one);
      const __m128d t23 = _mm_add_pd(_mm_mul_pd(_mm_mul_pd(r23, r23), margin), one);
      if (_mm_movemask_pd(_mm_and_pd(_mm_cmpgt_pd(m01, t01), _mm_cmpgt_pd(m23, t23))) == 3) {
        prevSquared = _mm_cvtsd_f64(_mm_unpackhi_pd(s23, s23));
        prevDistance = -1;
        i += 4;
        continue;
      }
    }
#endif
    // One position at a time: the rest, and the four of a group that could not be passed over together.
    for (const std::size_t end = std::min(n, i + 4); i < end; ++i) {
      const double squared = SquaredDistance(sx, sy, starts[i]);
      const double reach = legs[i] + best;
      if (SquaredSumBelow(prevSquared, squared) > reach * reach * (1 + 1e-9) + 1) {
        prevSquared = squared;
        prevDistance = -1;
        continue;
      }
      const double fromPrev = prevDistance >= 0 ? prevDistance : std::sqrt(prevSquared);
      const double toNext = std::sqrt(squared);
      const double cost = fromPrev + toNext - legs[i];
      if (cost < best) {
        best = cost;
        bestAt = i;
      }
      prevSquared = squared;
      prevDistance = toNext;
    }
  }
  const double atEnd = prevDistance >= 0 ? prevDistance : std::sqrt(prevSquared);
  if (atEnd < best) {
    best = atEnd;
    bestAt = n;
  }
  auto& order = page.cutObjects;
  order.insert(order.begin() + static_cast<std::ptrdiff_t>(bestAt), obj);
  // The kept start points follow the insertion: the new leg, and the next start's leg now from the new start.
  const auto at = static_cast<std::ptrdiff_t>(bestAt);
  const CQuarterPoint prev = bestAt > 0 ? c.starts[bestAt - 1] : CQuarterPoint{0, 0};
  c.objects.insert(c.objects.begin() + at, obj);
  c.starts.insert(c.starts.begin() + at, start);
  c.legs.insert(c.legs.begin() + at, Distance(prev, start));
  if (bestAt < n) c.legs[bestAt + 1] = Distance(start, c.starts[bestAt + 1]);
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
