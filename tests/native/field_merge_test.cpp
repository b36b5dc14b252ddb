// Merging with one bitmap per group against merging pair by pair with CSyntheticGraphicField::Merge: random pages
// of both formats, overlapping and empty fields, packet weights and budgets; fields, counts, sources and bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "common/seams/output_channel.h"
#include "manager/model/field_merge.h"
#include "manager/model/job.h"
#include "tests/support/job_builder.h"

namespace vyx {
namespace {

// The same-ribbon merge as the rule states it, one pair at a time (master page: replaced synthetic fields go).
int MergePairwise(std::vector<CGraphicField*>& fields, std::int64_t weight, CBitmapBudget* budget) {
  int merges = 0;
  std::size_t a = 0;
  while (a < fields.size()) {
    bool merged = false;
    for (std::size_t e = 0; e < a && !merged; ++e) {
      if (!IsMergeable(*fields[e], *fields[a], weight)) continue;
      CSyntheticGraphicField* syn = CSyntheticGraphicField::Merge(*fields[e], *fields[a], true, budget);
      if (syn == nullptr) continue;
      CGraphicField* gone[2] = {fields[e], fields[a]};
      fields[a] = syn;
      fields.erase(fields.begin() + static_cast<std::ptrdiff_t>(e));
      for (CGraphicField* s : gone)
        if (s->GetType() != kTypeGraphicField) delete s;
      ++merges;
      --a;
      merged = true;
    }
    if (!merged) ++a;
  }
  return merges;
}

std::string RandomPage(std::mt19937& rng) {
  std::string s = testing::Header();
  const int n = 2 + static_cast<int>(rng() % 9);
  const char format = rng() % 2 == 0 ? 'A' : 'B';
  for (int i = 0; i < n; ++i) {
    const int bpr = 1 + static_cast<int>(rng() % 6), rows = 1 + static_cast<int>(rng() % 8);
    const unsigned density = rng() % 4;  // 0: no pixels
    const testing::Bitmap bm = testing::Bitmap::FromPredicate(
        bpr * 8, rows, [&](int, int) { return density != 0 && rng() % (5 - density) == 0; });
    const char f = rng() % 10 == 0 ? static_cast<char>('A' + 'B' - format) : format;
    s += testing::Field(rng() % 3 == 0 ? 1 : 0, "R" + std::to_string(i), static_cast<int>(rng() % 64),
                        static_cast<int>(rng() % 40), bm, f);
  }
  return s + testing::PageEnd(1, 1) + testing::Trailer();
}

std::string Written(CGraphicField& f) {
  CMemoryChannel out;
  EXPECT_TRUE(f.Write(out));
  return out.Bytes();
}

struct CParsed {
  explicit CParsed(const std::string& text, std::size_t limit) {
    job.SetText(text.data(), text.size());
    job.bitmapBudget.SetLimit(limit);
    EXPECT_EQ(1, job.ParseJob());
    original = job.pages[0]->graphicFields;
  }
  std::vector<int> Indices(const std::vector<CGraphicField*>& list) const {
    std::vector<int> out;
    for (const CGraphicField* f : list)
      out.push_back(static_cast<int>(std::find(original.begin(), original.end(), f) - original.begin()));
    return out;
  }
  CQzplJobData job;
  std::vector<CGraphicField*> original;
};

TEST(GroupMerge, GivesWhatMergingPairByPairGives) {
  std::mt19937 rng(2024);
  const std::int64_t weights[] = {0, 40, 400, kDefaultPacketWeightInPixels};
  for (int round = 0; round < 400; ++round) {
    const std::string text = RandomPage(rng);
    const std::int64_t weight = weights[rng() % 4];
    const std::size_t limit = round % 3 == 0 ? 150 + rng() % 600 : CBitmapBudget::LimitForJob(0);
    CParsed grouped(text, limit), pairwise(text, limit);
    std::vector<CGraphicField*>& got = grouped.job.pages[0]->graphicFields;
    std::vector<CGraphicField*>& want = pairwise.job.pages[0]->graphicFields;
    ASSERT_EQ(MergePairwise(want, weight, &pairwise.job.bitmapBudget), grouped.job.MergeSameRibbonFields(weight))
        << round;
    ASSERT_EQ(want.size(), got.size()) << round;
    EXPECT_EQ(pairwise.job.bitmapBudget.Used(), grouped.job.bitmapBudget.Used()) << round;
    for (std::size_t i = 0; i < want.size(); ++i) {
      ASSERT_EQ(want[i]->GetType(), got[i]->GetType()) << round << " " << i;
      if (want[i]->GetType() == kTypeGraphicField) {
        EXPECT_EQ(pairwise.Indices({want[i]}), grouped.Indices({got[i]})) << round << " " << i;
        continue;
      }
      auto& w = static_cast<CSyntheticGraphicField&>(*want[i]);
      auto& g = static_cast<CSyntheticGraphicField&>(*got[i]);
      EXPECT_EQ(w.inkBox, g.inkBox) << round << " " << i;
      EXPECT_EQ(w.pixelCount, g.pixelCount) << round << " " << i;
      EXPECT_EQ(pairwise.Indices(w.sources), grouped.Indices(g.sources)) << round << " " << i;
      EXPECT_EQ(Written(w), Written(g)) << round << " " << i;
    }
  }
}

TEST(GroupMerge, TheWritersChainGivesWhatMergingFieldByFieldGives) {
  std::mt19937 rng(99);
  for (int round = 0; round < 300; ++round) {
    const std::string text = RandomPage(rng);
    const std::size_t limit = round % 3 == 0 ? 150 + rng() % 600 : CBitmapBudget::LimitForJob(0);
    CParsed a(text, limit), b(text, limit);
    CMergeChain chain(&a.job.bitmapBudget);
    std::unique_ptr<CSyntheticGraphicField> current;
    std::vector<int> refusedByChain, refusedByMerge;
    for (std::size_t i = 0; i < a.original.size(); ++i)
      if (a.original[i]->ribbonIndex == 0 && !chain.Add(*a.original[i])) refusedByChain.push_back(static_cast<int>(i));
    // Field by field: the first field of the ribbon, then Merge(current, next) without same-ribbon mode.
    CGraphicField* first = nullptr;
    for (std::size_t i = 0; i < b.original.size(); ++i) {
      CGraphicField* f = b.original[i];
      if (f->ribbonIndex != 0) continue;
      if (first == nullptr) {
        first = f;
        continue;
      }
      CSyntheticGraphicField* m =
          CSyntheticGraphicField::Merge(current ? *current : *first, *f, false, &b.job.bitmapBudget);
      if (m == nullptr) {
        refusedByMerge.push_back(static_cast<int>(i));
        continue;
      }
      m->sources.clear();
      current.reset(m);
    }
    EXPECT_EQ(refusedByMerge, refusedByChain) << round;
    std::unique_ptr<CSyntheticGraphicField> built(chain.Build());
    ASSERT_EQ(current != nullptr, built != nullptr) << round;
    EXPECT_EQ(b.job.bitmapBudget.Used(), a.job.bitmapBudget.Used()) << round;
    if (current) {
      EXPECT_EQ(Written(*current), Written(*built)) << round;
    }
  }
}

}  // namespace
}  // namespace vyx
