// Colour consolidation of a page: colour groups, classification, promotion, clones, pixel scoring and outcomes.
#include "manager/model/consolidation.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "manager/model/field_bits.h"
#include "manager/model/field_measures.h"
#include "manager/model/job.h"
#include "manager/model/page.h"

namespace vyx {

namespace {

constexpr double kLargestRgbDistance = 441.6729559300637;  // sqrt(3 x 255 x 255)
constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr const unsigned char* kBits = kByteTables.bits;  // set bits of a byte, without a library call

inline int Slot(std::uint32_t ribbonIndex) {
  return static_cast<int>(ribbonIndex % kRibbonOutcomeCount);
}

// ORs eight pixels into byte j of row y of a clone's own bitmap, writing only the characters that gain pixels
// (characters never touched stay zero bytes). Returns the number of pixels added.
int OrByte(CGraphicField& clone, std::int64_t y, std::int64_t j, unsigned bits) {
  char* row = clone.data + (y - clone.extent.top) * static_cast<std::int64_t>(clone.charsPerRow);
  if (clone.format == 'A') {
    char* hi = row + 2 * j;
    int added = 0;
    for (int half = 0; half < 2; ++half) {
      const unsigned add = half == 0 ? (bits >> 4) : (bits & 15u);
      if (add == 0) continue;
      char* p = hi + half;
      if (p >= clone.dataEnd) break;
      const unsigned old = kByteTables.hex[static_cast<unsigned char>(*p)];
      *p = kHexDigits[old | add];
      added += kBits[add & ~old & 15u];
    }
    return added;
  }
  char* p = row + j;
  if (p >= clone.dataEnd) return 0;
  const unsigned old = static_cast<unsigned char>(*p);
  *p = static_cast<char>(old | bits);
  return kBits[bits & ~old & 0xFFu];
}

// A non-zero byte of a sparse field.
struct CSparseByte {
  std::int64_t y;
  std::int64_t j;
  unsigned b;
};

struct CCloneWork {
  CGraphicFieldClone* clone = nullptr;
  const CGraphicField* kept = nullptr;
  double attraction = 0;  // (339.9915 - Y) / 255 of the kept ribbon colour
  double divisor = 0;     // colour distance and angle term
  double contactShare = 0;
};

CGraphicFieldClone* MakeClone(const CGraphicField& sparse,
                              const CGraphicField& kept,
                              int position,
                              const CConsolidationSettings& settings,
                              CBitmapBudget* budget) {
  auto* c = new CGraphicFieldClone();
  c->budget = budget;
  c->extent = sparse.extent;
  c->inkBox = sparse.inkBox;
  c->format = sparse.format;
  c->charsPerByte = sparse.charsPerByte;
  c->pixelsPerChar = sparse.pixelsPerChar;
  c->ribbonIndex = kept.ribbonIndex;
  c->ribbonColour = kept.ribbonColour;
  std::memcpy(c->ribbonName, kept.ribbonName, sizeof c->ribbonName);
  c->ribbonName[sizeof c->ribbonName - 1] = '\0';
  c->purifiedColour = PurifiedColour(kept.ribbonColour, settings.grayExcerptPercent);
  c->consolidationMark = 1;
  // The bitmap is built when the first pixel arrives: clones that receive none never allocate one.
  c->sources.push_back(const_cast<CGraphicField*>(&sparse));
  c->sourceOwnership = position;
  c->contactScore = 0;
  return c;
}

// Deletes a clone without touching its source.
void DropClone(CGraphicFieldClone* c) {
  c->sources.clear();
  delete c;
}

// Gives every set pixel of `sparse` to one clone (or none); fills contact scores first. Returns false when a clone
// that should take pixels cannot build its bitmap (the sparse field itself is never changed).
bool DistributePixels(const CGraphicField& sparse,
                      std::vector<CCloneWork>& work,
                      const CConsolidationSettings& settings) {
  const CFieldBits s(sparse);
  if (!s.Valid() || !sparse.HasInk()) return true;  // nothing to give
  std::vector<CFieldBits> kept;
  kept.reserve(work.size());
  for (const CCloneWork& w : work) kept.emplace_back(*w.kept);

  const std::int64_t left = std::max<std::int64_t>(sparse.inkBox.left, sparse.extent.left);
  const std::int64_t right = std::min<std::int64_t>(sparse.inkBox.right, sparse.extent.right);
  const std::int64_t top = std::max<std::int64_t>(sparse.inkBox.top, sparse.extent.top);
  const std::int64_t bottom = std::min<std::int64_t>(sparse.inkBox.bottom, sparse.extent.bottom);
  if (right <= left || bottom <= top) return true;
  const std::int64_t c0 = left - sparse.extent.left, c1 = right - sparse.extent.left;
  const std::int64_t jFirst = c0 / 8, jLast = (c1 - 1) / 8;
  const unsigned firstMask = 0xFFu >> (c0 - 8 * jFirst);
  const unsigned lastMask = (0xFFu << (8 * (jLast + 1) - c1)) & 0xFFu;
  auto mask = [&](std::int64_t j, unsigned b) {
    if (j == jFirst) b &= firstMask;
    if (j == jLast) b &= lastMask;
    return b;
  };

  // Contact scores: the kept field's neighbour counts summed over the sparse field's pixels, a byte at a time
  // (the three column shifts of the three rows around it). The rows of the kept fields around each byte are kept
  // for the scoring pass when the sparse field is small enough, so that its bytes and those rows are read once.
  const std::size_t perByte = 3 * work.size();
  const bool cache = sparse.pixelCount <= settings.cachedPixelLimit;
  std::vector<CSparseByte> bytes;
  std::vector<std::uint16_t> rows;
  std::vector<unsigned> around(perByte);
  std::vector<std::int64_t> contact(work.size(), 0);
  auto aroundOf = [&](std::int64_t y, std::int64_t j) {
    for (std::size_t i = 0; i < work.size(); ++i)
      for (int dy = 0; dy < 3; ++dy) around[3 * i + static_cast<std::size_t>(dy)] = kept[i].Around(y + dy - 1, j);
  };
  for (std::int64_t y = top; y < bottom; ++y) {
    s.ForEachByte(y, jFirst, jLast, [&](std::int64_t j, unsigned b) {
      b = mask(j, b);
      if (b == 0) return;
      aroundOf(y, j);
      for (std::size_t i = 0; i < work.size(); ++i) {
        std::int64_t n = 0;
        for (std::size_t dy = 0; dy < 3; ++dy) {
          const unsigned a = around[3 * i + dy];
          n += kBits[b & a & 0xFFu] + kBits[b & (a >> 1) & 0xFFu] + kBits[b & (a >> 2) & 0xFFu];
        }
        contact[i] += n;
      }
      if (cache) {
        bytes.push_back({y, j, b});
        for (unsigned a : around) rows.push_back(static_cast<std::uint16_t>(a));
      }
    });
  }
  const double pixels = sparse.pixelCount > 0 ? static_cast<double>(sparse.pixelCount) : 0.0;
  for (std::size_t i = 0; i < work.size(); ++i) {
    work[i].clone->contactScore = static_cast<std::int32_t>(std::min<std::int64_t>(contact[i], INT32_MAX));
    work[i].contactShare = pixels > 0 ? static_cast<double>(contact[i]) / pixels : 0.0;
    const CGraphicField& k = *work[i].kept;
    work[i].attraction = (339.9915 - ColourBrightness(k.ribbonColour)) / 255.0;
    work[i].divisor = ColourDistance(sparse.purifiedColour, k.purifiedColour) / kLargestRgbDistance +
                      ColourAngle(sparse.purifiedColour, k.purifiedColour) * settings.colorAngleWeight / 1.5708 / 100.0;
  }

  // Scoring: each pixel goes to the highest score above 0, the first clone on ties.
  std::vector<unsigned> given(work.size());
  bool failed = false;
  auto score = [&](std::int64_t y, std::int64_t j, unsigned b, const unsigned* a) {
    std::fill(given.begin(), given.end(), 0u);
    for (unsigned bits = b; bits != 0;) {
      const int p = __builtin_clz(bits) - 24;  // 0 = leftmost pixel of the byte
      const unsigned bit = 0x80u >> p;
      bits &= ~bit;
      const int shift = 7 - p;
      double best = 0;
      std::size_t winner = work.size();
      for (std::size_t i = 0; i < work.size(); ++i) {
        const int neighbours =
            kBits[(a[3 * i] >> shift) & 7u] + kBits[(a[3 * i + 1] >> shift) & 7u] + kBits[(a[3 * i + 2] >> shift) & 7u];
        const double pull = work[i].attraction * (work[i].contactShare + neighbours);
        double value;
        if (work[i].divisor != 0)
          value = pull / work[i].divisor;
        else
          value = pull > 0 ? std::numeric_limits<double>::infinity() : 0.0;  // the very same colour
        if (value > best) {
          best = value;
          winner = i;
        }
      }
      if (winner < work.size()) given[winner] |= bit;
    }
    for (std::size_t i = 0; i < work.size(); ++i) {
      if (given[i] == 0) continue;
      CGraphicFieldClone& c = *work[i].clone;
      if (c.data == nullptr && !c.BuildEmptyBitmap()) {
        failed = true;
        return;
      }
      c.pixelCount += OrByte(c, y, j, given[i]);
    }
  };
  if (cache) {
    for (std::size_t n = 0; n < bytes.size() && !failed; ++n) {
      for (std::size_t k = 0; k < perByte; ++k) around[k] = rows[n * perByte + k];
      score(bytes[n].y, bytes[n].j, bytes[n].b, around.data());
    }
    return !failed;
  }
  for (std::int64_t y = top; y < bottom && !failed; ++y) {
    s.ForEachByte(y, jFirst, jLast, [&](std::int64_t j, unsigned b) {
      b = mask(j, b);
      if (b == 0 || failed) return;
      aroundOf(y, j);
      score(y, j, b, around.data());
    });
  }
  return !failed;
}

// Promotion when a group has no kept field: b(i) = strokes / sqrt(pixels) / (W + H), q(i) the geometric mean of
// the other fields' b; the greatest q above 5 wins. Returns the index in `sparse` or -1.
int PromotionCandidate(std::vector<CGraphicField*>& sparse) {
  const std::size_t n = sparse.size();
  std::vector<double> b(n);
  for (std::size_t i = 0; i < n; ++i) {
    CGraphicField& f = *sparse[i];
    const double sides = f.HasInk() ? static_cast<double>(f.inkBox.Width() + f.inkBox.Height()) : 0.0;
    if (sides == 0 || f.pixelCount <= 0) {
      b[i] = -1;
      continue;
    }
    b[i] = StrokeCount(f, kStrokeLimitFull) / std::sqrt(static_cast<double>(f.pixelCount)) / sides;
  }
  return PickPromotedField(b);
}

// The result of one sparse field: what takes its place in the page's field list.
struct CSparseResult {
  bool keepField = true;                    // the sparse field stays in the list
  std::vector<CGraphicField*> replacement;  // fields in its place when it does not stay
};

int ConsolidateGroup(std::vector<CGraphicField*>& group,
                     const std::int32_t* ribbonColours,
                     std::int32_t* outcomes,
                     const CConsolidationSettings& settings,
                     CJobProgress* progress,
                     bool master,
                     CBitmapBudget* budget,
                     std::vector<CGraphicField*>& out) {
  int changes = 0;
  std::vector<CGraphicField*> kept, sparse;
  for (CGraphicField* f : group) {
    if (progress != nullptr) progress->AtText(kProgressParsed, kProgressConsolidated - kProgressParsed, f->textStart);
    f->ribbonColour = static_cast<ColorRef>(ribbonColours[Slot(f->ribbonIndex)]);
    f->purifiedColour = PurifiedColour(f->ribbonColour, settings.grayExcerptPercent);
    f->consolidationMark = 0;
    switch (ClassifyField(*f)) {
      case kFieldKept:
        outcomes[Slot(f->ribbonIndex)] = kOutcomeOwnRibbon;
        kept.push_back(f);
        break;
      case kFieldSparse:
        f->consolidationMark = 1;
        sparse.push_back(f);
        break;
      case kFieldTint:
        outcomes[Slot(f->ribbonIndex)] = kOutcomeOwnRibbon;
        break;
      case kFieldNeither:
        break;
    }
  }
  if (kept.empty() && sparse.size() >= 2) {
    const int p = PromotionCandidate(sparse);
    if (p >= 0) {
      CGraphicField* f = sparse[static_cast<std::size_t>(p)];
      sparse.erase(sparse.begin() + p);
      f->consolidationMark = 0;
      kept.push_back(f);
      outcomes[Slot(f->ribbonIndex)] = kOutcomeOwnRibbon;
    }
  }

  std::vector<std::vector<CGraphicField*>> placeOf(group.size());
  std::vector<bool> stays(group.size(), true);
  for (CGraphicField* s : sparse) {
    std::size_t at = 0;
    while (group[at] != s) ++at;
    std::vector<CCloneWork> work;
    for (std::size_t k = 0; k < kept.size(); ++k) {
      CCloneWork w;
      w.clone = MakeClone(*s, *kept[k], static_cast<int>(k), settings, budget);
      w.kept = kept[k];
      work.push_back(w);
    }
    if (!DistributePixels(*s, work, settings)) {
      // The clones have no bitmap to take the pixels (a damaged extent): the field prints on its own.
      for (CCloneWork& w : work) DropClone(w.clone);
      s->consolidationMark = 0;
      outcomes[Slot(s->ribbonIndex)] = kOutcomeOwnRibbon;
      continue;
    }
    std::vector<CGraphicFieldClone*> clones;
    for (CCloneWork& w : work) {
      if (w.clone->pixelCount > 0)
        clones.push_back(w.clone);
      else
        DropClone(w.clone);
    }
    for (std::size_t i = 0; i < clones.size(); ++i) clones[i]->sourceOwnership = static_cast<std::int32_t>(i);

    std::int32_t& outcome = outcomes[Slot(s->ribbonIndex)];
    const bool ownOrSplit = outcome == kOutcomeOwnRibbon || outcome == kOutcomeSplit;
    if (clones.size() == 1 && !ownOrSplit) {
      const auto target = static_cast<std::int32_t>(clones[0]->ribbonIndex % kRibbonOutcomeCount);
      if (outcome != target) {
        outcome = target;
        ++changes;
      }
      DropClone(clones[0]);
    } else if (clones.size() == 1) {
      stays[at] = false;
      placeOf[at].push_back(clones[0]);
      ++changes;
    } else {
      stays[at] = false;
      for (CGraphicFieldClone* c : clones) placeOf[at].push_back(c);
      if (clones.empty() && master) delete s;  // nobody else holds it
      if (!ownOrSplit) {
        outcome = kOutcomeSplit;
        ++changes;
      }
    }
  }
  for (std::size_t i = 0; i < group.size(); ++i) {
    if (stays[i])
      out.push_back(group[i]);
    else
      out.insert(out.end(), placeOf[i].begin(), placeOf[i].end());
  }
  return changes;
}

}  // namespace

int PickPromotedField(const std::vector<double>& b) {
  const std::size_t n = b.size();
  if (n < 2) return -1;
  int best = -1;
  double bestQ = -std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i < n; ++i) {
    // The product over the other fields equals the product over all divided by b(i), without a division by 0.
    double product = 1;
    for (std::size_t j = 0; j < n; ++j)
      if (j != i) product *= b[j];
    const double q = std::pow(product, 1.0 / static_cast<double>(n - 1));
    if (q > bestQ) {  // the first on ties; NaN (a negative product under a root) never wins
      best = static_cast<int>(i);
      bestQ = q;
    }
  }
  return best >= 0 && bestQ > 5 ? best : -1;
}

EFieldClass ClassifyField(CGraphicField& f) {
  // In order: solid block, pattern (dense kept, tint), black, small, density, strokes, solid square. The solid-block
  // test costs a pass over the field, so the cheap tests that keep the field whatever it says come first; they
  // compute no stored measure, so the result and the field's state are those of the plain order.
  const int pattern = PatternTest(f);
  const bool black = f.ribbonColour == 0;
  const std::int64_t area = f.HasInk() ? f.inkBox.Area() : 0;
  const bool small = f.pixelCount < 16 || area < 32;
  const double d = Density(f);
  if (pattern == kPatternDense) return kFieldKept;
  if (pattern == kPatternNeither && (black || (!small && d >= 0.075))) return kFieldKept;
  if (SolidBlockTest(f) == kSolidBlockFound) return kFieldKept;
  if (pattern == kPatternTint) return kFieldTint;
  if (black) return kFieldKept;
  if (small) return kFieldSparse;
  if (d >= 0.075) return kFieldKept;
  const std::int32_t strokes = StrokeCount(f, 9);
  if (strokes <= 8 && !IsLineLike(f, strokes)) return kFieldKept;
  if (LargestSolidSquare(f) >= 6) return kFieldKept;
  if (d < 0.0375) return kFieldSparse;
  return kFieldNeither;
}

int ConsolidatePage(CQzplPage& page,
                    const std::int32_t* ribbonColours,
                    std::int32_t* outcomes,
                    const CConsolidationSettings& settings,
                    CJobProgress* progress) {
  std::vector<CGraphicField*>& fields = page.graphicFields;
  std::vector<CGraphicField*> result;
  result.reserve(fields.size());
  int changes = 0;
  std::size_t i = 0;
  while (i < fields.size()) {
    std::size_t end = i + 1;
    while (end < fields.size() && fields[end]->extent == fields[i]->extent) ++end;
    if (end - i == 1 || end - i > kMaxGroupFields) {
      // A field alone at its extent prints in its own ribbon; so does every field of a run of identical extents
      // longer than any job of real separations, where clones for every pair would grow with its square.
      for (std::size_t k = i; k < end; ++k) {
        CGraphicField* f = fields[k];
        if (progress != nullptr)
          progress->AtText(kProgressParsed, kProgressConsolidated - kProgressParsed, f->textStart);
        outcomes[Slot(f->ribbonIndex)] = kOutcomeOwnRibbon;
        result.push_back(f);
      }
    } else {
      std::vector<CGraphicField*> group(fields.begin() + static_cast<std::ptrdiff_t>(i),
                                        fields.begin() + static_cast<std::ptrdiff_t>(end));
      changes += ConsolidateGroup(group, ribbonColours, outcomes, settings, progress, page.IsMaster(),
                                  page.BitmapBudget(), result);
    }
    i = end;
  }
  fields.swap(result);
  page.changeCounter += changes;
  return changes;
}

int ConsolidateJob(CQzplJobData& job, const std::int32_t* ribbonColours, const CConsolidationSettings& settings) {
  int changes = 0;
  for (CQzplPage* p : job.pages)
    changes += ConsolidatePage(*p, ribbonColours, job.layout.ribbonOutcomes, settings, &job.progress);
  job.progress.Advance(kProgressConsolidated);
  return changes;
}

}  // namespace vyx
