// Collecting a page's ^RP pen paths as strokes and flattened curves.
#include "manager/model/page_paths.h"

#include "manager/model/bezier_curve.h"
#include "manager/model/text_scan.h"

namespace vyx {

int CollectPagePaths(char* from,
                     char* end,
                     std::vector<CGraphicObj*>& cuts,
                     CDebugOutput* debug,
                     CJobProgress* progress) {
  int collected = 0;
  char* hit = LineSearch(from, end, "^RP");
  while (hit != nullptr) {
    auto* stroke = new CCutObj();
    char* next = stroke->Parse(hit, end);
    if (next == nullptr || next <= hit) {
      // Not even one whole line (an unfinished last line): nothing to cut, and the search must move on.
      delete stroke;
      hit = LineSearch(hit + 3, end, "^RP");
      continue;
    }
    CGraphicObj* cut = stroke;
    const bool plain = stroke->bezierCount == 0;
    if (!plain) {
      if (CBezierCurve* curve = BuildBezierCurve(*stroke, debug).release(); curve != nullptr) {
        cut = curve;
        delete stroke;
      }
    }
    cuts.push_back(cut);
    ++collected;
    if (progress != nullptr && plain) progress->AtText(kProgressRead, kProgressParsed - kProgressRead, next);
    hit = LineSearch(next, end, "^RP");
  }
  return collected;
}

}  // namespace vyx
