// The main window's opening, handlers and texts over the layout operations.
#include "manager/app/main_window_model.h"

#include <algorithm>
#include <cmath>

#include "common/string_ids.h"
#include "common/text_format.h"
#include "manager/app/number_entry.h"
#include "manager/app/resource.h"
#include "manager/model/cut_order.h"
#include "manager/output/layout.h"

namespace vyx {

namespace {

constexpr std::int32_t kAutomaticGap = 20;
constexpr double kLargestAutomaticRadiusMm = 2.0;
constexpr double kLargestAutomaticRadiusInch = 0.08;
constexpr double kLaminateLeadMm = 500.0;
constexpr double kMmPerInch = 25.4;
// PRINT refuses a total length beyond 120 m, and copies of a layout longer than 12 m that cannot be split.
constexpr double kTotalLengthLimitMm = 120000.0;
constexpr int kTotalLengthLimitMetres = 120;
constexpr int kCopiesLengthLimitMetres = 12;

// Controls whose text is one language string.
struct CLanguageLabel {
  int id;
  int offset;
};
constexpr CLanguageLabel kLanguageLabels[] = {
    {IDC_DIMENSIONS_GROUP, kStrPrintDimensions},
    {IDC_OPTIMISED, kStrOptimisedSize},
    {IDC_MARGIN_LABEL, kStrMargin},
    {IDC_VARIABLE_SIZE_LABEL, kStrVariableSize},
    {IDC_ADJUST_INDIVIDUALLY, kStrAdjustIndividually},
    {IDC_ADJUST_LARGEST, kStrAdjustToLargest},
    {IDC_CUT_OUT_GROUP, kStrCutOut},
    {IDC_OUTLINE, kStrOutlineCut},
    {IDC_LAMINATE, kStrLaminate},
    {IDC_COPIES_GROUP, kStrCopiesGroup},
    {IDC_COPIES_LABEL, kStrCopies},
    {IDC_OFFSET_LABEL, kStrCopyOffset},
    {IDC_TAPE_CUT_SETS, kStrTapeCutSets},
    {IDC_LABELS_PER_SET_LABEL, kStrLabelsPerSet},
    {IDC_COPIES_FORCED, kStrCopiesForcedToOne},
    {IDC_JOB_LIST_GROUP, kStrJobList},
    {IDC_PRINT, kStrPrint},
    {IDC_RESET_JOBS, kStrResetAllJobs},
    {IDC_MATERIALS_GROUP, kStrMaterials},
    {IDC_CONTROL_GROUP, kStrControl},
    {IDC_ADVANCED, kStrAdvanced},
    {IDC_DONE, kStrDone},
    {IDC_CANCEL, kStrCancel},
    {IDC_LANDSCAPE_GROUP, kStrLandscapeLayout},
    {IDC_LEFT_TO_RIGHT, kStrLeftToRight},
    {IDC_RIGHT_TO_LEFT, kStrRightToLeft},
};

bool EndsWith(const std::string& text, const char* suffix) {
  const std::string s(suffix);
  return text.size() >= s.size() && text.compare(text.size() - s.size(), s.size(), s) == 0;
}

std::int32_t ClampCopies(std::int64_t n) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(n, 1, kMaxCopies));
}

}  // namespace

CMainWindowModel::CMainWindowModel(CQzplJobData& job,
                                   CCatalogue& catalogue,
                                   CLanguageText language,
                                   const COptions& options,
                                   int unit)
    : m_job(job),
      m_catalogue(catalogue),
      m_language(language),
      m_options(options),
      m_unit(IsInchUnit(unit) ? 1 : 0),
      m_unitPerDot(UnitPerDot(unit)) {
  m_tapeId = m_catalogue.WhiteTapeId();
  m_ribbonId = m_catalogue.BlackRibbonId();
}

// --- small helpers -------------------------------------------------------------------------------------------

CQzplHeader& CMainWindowModel::InForce() {
  return m_job.headerInForce ? *m_job.headerInForce : m_job.parsedHeader;
}

const CQzplHeader& CMainWindowModel::InForce() const {
  return m_job.headerInForce ? *m_job.headerInForce : m_job.parsedHeader;
}

CCustomQzplHeader* CMainWindowModel::InForceCustom() {
  if (m_job.headerInForce == &m_job.optimisedHeader) return &m_job.optimisedHeader;
  if (m_job.headerInForce == &m_job.formSizeHeader) return &m_job.formSizeHeader;
  return nullptr;
}

std::int32_t CMainWindowModel::PageCount() const {
  return static_cast<std::int32_t>(std::min<std::size_t>(m_job.pages.size(), INT32_MAX));
}

bool CMainWindowModel::RightToLeftFill() const {
  return Checked(IDC_RIGHT_TO_LEFT) && m_job.pages.size() > 1;
}

void CMainWindowModel::SetText(int id, std::wstring text) {
  m_view[id].text = std::move(text);
}

void CMainWindowModel::SetLanguageText(int id, int offset) {
  std::wstring text = m_language.GetString(offset);
  if (!text.empty()) m_view[id].text = std::move(text);
}

void CMainWindowModel::Enable(int id, bool enabled) {
  m_view[id].enabled = enabled;
}

void CMainWindowModel::Show(int id, bool visible) {
  m_view[id].visible = visible;
}

void CMainWindowModel::Select(int id, int other) {
  m_view[id].checked = true;
  m_view[other].checked = false;
}

double CMainWindowModel::ShowLength(int id, double value) {
  const std::wstring text = FormatLength(std::max(value, 0.0), m_unit);
  SetText(id, text);
  return CheckLengthText(text, m_unit, 0.0).value;
}

void CMainWindowModel::ShowCount(int id, std::int32_t value) {
  SetText(id, std::to_wstring(value));
}

void CMainWindowModel::Repaint(int delay) {
  if (m_repaint == kNoRepaint || delay < m_repaint) m_repaint = delay;
}

int CMainWindowModel::TakeRepaint() {
  const int r = m_repaint;
  m_repaint = kNoRepaint;
  return r;
}

int CMainWindowModel::OutlineCheckExtraWidth() const {
  return m_language.GetString(kStrLanguageEnglishName) == L"Polish" ? 24 : 20;
}

std::wstring CMainWindowModel::UnitText() const {
  return IsInchUnit(m_unit) ? m_language.GetString(kStrInchUnit) : L"mm";
}

std::wstring CMainWindowModel::Length(double value) const {
  return FormatFixed(value, UnitDecimals(m_unit));
}

// --- opening -------------------------------------------------------------------------------------------------

void CMainWindowModel::Open() {
  m_foreground = EndsWith(m_job.jobTag, "_btw");
  // A working header is in force from the start, so that no layout step ever changes the parsed one.
  m_job.headerInForce = m_options.optimised_size ? &m_job.optimisedHeader : &m_job.formSizeHeader;
  m_copies = ClampCopies(InForce().totalLabels);
  m_opening = true;
  for (const CLanguageLabel& label : kLanguageLabels) SetLanguageText(label.id, label.offset);
  SetText(IDC_RADIUS_UNIT, UnitText());
  SetText(IDC_OFFSET_UNIT, UnitText());
  Show(IDC_RESET_JOBS, false);
  Enable(IDC_RESET_JOBS, false);
  Show(IDC_CANCEL, false);
  Show(IDC_COPIES_FORCED, false);
  Show(IDC_COPIES_INFO, false);
  Show(IDC_COPIES_INFO_ICON, false);
  SetText(IDC_TAPE_LINE, L"");
  SetText(IDC_RIBBON_LINE, L"");
  Select(IDC_RIGHT_TO_LEFT, IDC_LEFT_TO_RIGHT);

  m_largestSideMargin = SideMarginLimit(m_job) * m_unitPerDot;

  // Margins apply when an outline will be cut around the painted area.
  m_ownCuts =
      std::any_of(m_job.pages.begin(), m_job.pages.end(), [](const CQzplPage* p) { return p && HasCutObjects(*p); });
  const bool marginsApply = (!m_ownCuts && (m_options.automatic_outline || m_options.outline_every_page)) ||
                            (m_ownCuts && m_options.outline_every_page && !m_options.automatic_outline);
  double marginX = 0, marginY = 0;
  if (marginsApply) {
    const std::int32_t automatic = AutomaticMargin(m_job);
    marginX = DotsToLength(m_options.automatic_margins ? automatic : m_options.margin_x, m_unit);
    marginY = DotsToLength(m_options.automatic_margins ? automatic : m_options.margin_y, m_unit);
    marginX = std::min(marginX, CutToDisplayStep(m_largestSideMargin, m_unit));
  }
  m_marginX = ShowLength(IDC_MARGIN_X, marginX);
  m_marginY = ShowLength(IDC_MARGIN_Y, marginY);

  // The offset shown is the gap the layout uses from the start.
  const CQzplHeader& start = InForce();
  const std::int64_t gap =
      m_options.automatic_gap ? kAutomaticGap : (static_cast<std::int64_t>(start.rowGap) + start.columnGap) / 2;
  m_offset = ShowLength(IDC_OFFSET, DotsToLength(gap, m_unit));
  SetLabelGap(m_job, LengthToDots(m_offset, m_unit));

  m_formWidth = m_job.parsedHeader.width * m_unitPerDot;
  m_formLength = m_job.parsedHeader.length * m_unitPerDot;
  std::wstring formSize = m_language.GetString(kStrFormSize);
  if (IsInchUnit(m_unit))
    formSize += L" " + FormatFixed(m_formWidth, 2) + L" x " + FormatFixed(m_formLength, 2) + L" " + UnitText();
  else
    formSize += L" " + FormatFixed(m_formWidth, 1) + L" x " + FormatFixed(m_formLength, 1) + L" mm";
  SetText(IDC_FORM_SIZE, formSize);

  m_labelsPerSet = std::clamp<std::int32_t>(m_options.labels_per_set, 0, kMaxLabelsPerSet);
  ShowCount(IDC_LABELS_PER_SET, m_labelsPerSet);
  m_view[IDC_TAPE_CUT_SETS].checked = m_options.tape_cut_sets != 0;
  OnTapeCutSets(m_options.tape_cut_sets != 0);
  m_view[IDC_LAMINATE].checked = m_options.laminate != 0;
  m_job.optimisedHeader.laminate = m_options.laminate;
  m_job.formSizeHeader.laminate = m_options.laminate;

  if (m_options.centre_pages)
    Select(IDC_ADJUST_LARGEST, IDC_ADJUST_INDIVIDUALLY);
  else
    Select(IDC_ADJUST_INDIVIDUALLY, IDC_ADJUST_LARGEST);
  if (m_options.optimised_size) {
    Select(IDC_OPTIMISED, IDC_FORM_SIZE);
    OnOptimised();
  } else {
    Select(IDC_FORM_SIZE, IDC_OPTIMISED);
    OnFormSize();
  }

  m_copies = ClampCopies(InForce().totalLabels);
  SetTotalLabels(m_job, m_copies);
  ShowCount(IDC_COPIES, m_copies);

  m_list.Fill(m_job, m_catalogue, m_ownCuts);
  // The copies rules run as a change of the edit would run them (copies forced to 1, the split by length).
  m_opening = false;
  ApplyCopies(m_copies);

  double radius = m_options.corner_radius * m_unitPerDot / 4.0;
  if (m_options.automatic_corner_radius)
    radius = std::min((m_marginX + m_marginY) / 2.0,
                      IsInchUnit(m_unit) ? kLargestAutomaticRadiusInch : kLargestAutomaticRadiusMm);
  m_radius = ShowLength(IDC_RADIUS, radius);
  const bool outline = m_options.automatic_outline ? !m_ownCuts : m_options.outline_every_page != 0;
  m_view[IDC_OUTLINE].checked = outline;
  OnOutline(outline);

  if (m_options.ribbon_selection != 0) {
    const std::int32_t selection = m_options.ribbon_selection;
    m_list.SkipRowsPrintedWith(m_catalogue, [selection](const CColorRibbon& r) { return r.ribbonId == selection; });
  }
  RefreshTexts();
  RefreshList();
}

// --- events --------------------------------------------------------------------------------------------------

void CMainWindowModel::OnClicked(int id, bool checked) {
  switch (id) {
    case IDC_FORM_SIZE:
      if (Optimised() || !Checked(IDC_FORM_SIZE)) {
        Select(IDC_FORM_SIZE, IDC_OPTIMISED);
        OnFormSize();
        Repaint(kRepaintAfterChange);
      }
      break;
    case IDC_OPTIMISED:
      if (!Optimised()) {
        Select(IDC_OPTIMISED, IDC_FORM_SIZE);
        OnOptimised();
        Repaint(kRepaintAfterChange);
      }
      break;
    case IDC_ADJUST_INDIVIDUALLY:
    case IDC_ADJUST_LARGEST:
      Select(id, id == IDC_ADJUST_LARGEST ? IDC_ADJUST_INDIVIDUALLY : IDC_ADJUST_LARGEST);
      RePlace();
      Repaint(kRepaintAfterChange);
      break;
    case IDC_LEFT_TO_RIGHT:
    case IDC_RIGHT_TO_LEFT:
      Select(id, id == IDC_LEFT_TO_RIGHT ? IDC_RIGHT_TO_LEFT : IDC_LEFT_TO_RIGHT);
      OnFillDirection();
      break;
    case IDC_OUTLINE:
      m_view[IDC_OUTLINE].checked = checked;
      OnOutline(checked);
      break;
    case IDC_LAMINATE:
      m_view[IDC_LAMINATE].checked = checked;
      OnLaminate(checked);
      break;
    case IDC_TAPE_CUT_SETS:
      m_view[IDC_TAPE_CUT_SETS].checked = checked;
      OnTapeCutSets(checked);
      Repaint(kRepaintAfterChange);
      break;
    case IDC_RESET_JOBS:
      ResetAllJobs();
      break;
    default:
      break;
  }
}

void CMainWindowModel::OnEditChanged(int id, const std::wstring& text) {
  if (id == IDC_COPIES || id == IDC_LABELS_PER_SET) {
    const bool copies = id == IDC_COPIES;
    const CCountEntry entry = CheckCountText(text, copies ? 1 : 0, copies ? kMaxCopies : kMaxLabelsPerSet);
    if (entry.kind == CCountEntry::kEmpty) {
      SetText(id, text);  // wait for the number; Done insists on one
      return;
    }
    if (entry.kind == CCountEntry::kRefused) {
      ShowCount(id, copies ? m_copies : m_labelsPerSet);
      return;
    }
    SetText(id, text);
    if (copies) {
      if (entry.value != m_copies || entry.value != InForce().totalLabels) ApplyCopies(entry.value);
    } else if (entry.value != m_labelsPerSet) {
      ApplyLabelsPerSet(entry.value);
    }
    return;
  }
  double* current = id == IDC_MARGIN_X   ? &m_marginX
                    : id == IDC_MARGIN_Y ? &m_marginY
                    : id == IDC_RADIUS   ? &m_radius
                    : id == IDC_OFFSET   ? &m_offset
                                         : nullptr;
  if (!current) return;
  const CLengthEntry entry = CheckLengthText(text, m_unit, *current);
  SetText(id, entry.rewrite ? entry.text : text);
  if (!entry.accepted || entry.value == *current) return;
  switch (id) {
    case IDC_MARGIN_X:
      ApplyMarginX(entry.value);
      break;
    case IDC_MARGIN_Y:
      ApplyMarginY(entry.value);
      break;
    case IDC_RADIUS:
      ApplyRadius(entry.value);
      break;
    case IDC_OFFSET:
      ApplyOffset(entry.value);
      break;
    default:
      break;
  }
}

void CMainWindowModel::OnSpin(int spinId, bool up) {
  auto step = [&](int edit, double value) {
    const double next = StepLength(value, m_unit, up);
    return ShowLength(edit, next);
  };
  switch (spinId) {
    case IDC_MARGIN_X_SPIN: {
      double next = StepLength(m_marginX, m_unit, up);
      next = std::min(next, CutToDisplayStep(m_largestSideMargin, m_unit));
      ApplyMarginX(ShowLength(IDC_MARGIN_X, next));
      break;
    }
    case IDC_MARGIN_Y_SPIN:
      ApplyMarginY(step(IDC_MARGIN_Y, m_marginY));
      break;
    case IDC_RADIUS_SPIN:
      ApplyRadius(step(IDC_RADIUS, m_radius));
      break;
    case IDC_OFFSET_SPIN:
      ApplyOffset(step(IDC_OFFSET, m_offset));
      break;
    case IDC_COPIES_SPIN: {
      const std::int64_t next = static_cast<std::int64_t>(m_copies) + (up ? 1 : -1);
      if (next < 1 || next > kMaxCopies) break;
      ShowCount(IDC_COPIES, static_cast<std::int32_t>(next));
      ApplyCopies(static_cast<std::int32_t>(next));
      break;
    }
    case IDC_LABELS_PER_SET_SPIN: {
      const std::int64_t most = static_cast<std::int64_t>(InForce().totalLabels) * PageCount();
      std::int64_t next = m_labelsPerSet;
      if (up && next < most) ++next;
      if (!up && next > 0) --next;
      if (next == m_labelsPerSet) break;
      ShowCount(IDC_LABELS_PER_SET, static_cast<std::int32_t>(next));
      ApplyLabelsPerSet(static_cast<std::int32_t>(next));
      break;
    }
    default:
      break;
  }
}

void CMainWindowModel::OnListClick(std::size_t row, int column) {
  if (column != kColumnStep) return;
  if (m_list.ClickStep(row, m_job, m_catalogue)) {
    RefreshList();
    Repaint(kRepaintNow);
  }
}

std::vector<CRibbonMenuEntry> CMainWindowModel::RibbonMenu(std::size_t row) const {
  return m_list.RibbonMenu(row, m_job, m_catalogue, m_language);
}

void CMainWindowModel::OnRibbonChosen(std::size_t row, int choice) {
  if (!m_list.OffersRibbonMenu(row)) return;
  m_list.ChooseRibbon(row, choice, m_job, m_catalogue);
  RefreshList();
  Repaint(kRepaintNow);
}

void CMainWindowModel::OnListChecked(std::size_t row, bool checked) {
  m_list.SetChecked(row, checked);
  RefreshList();
}

std::optional<CReadBackFailure> CMainWindowModel::ReadBack() const {
  const std::wstring copies = m_view.At(IDC_COPIES).text.value_or(L"");
  if (CheckCountText(copies, 1, kMaxCopies).kind != CCountEntry::kValue)
    return CReadBackFailure{IDC_COPIES, IntegerRangeMessage(1, kMaxCopies)};
  const std::wstring perSet = m_view.At(IDC_LABELS_PER_SET).text.value_or(L"");
  if (CheckCountText(perSet, 0, kMaxLabelsPerSet).kind != CCountEntry::kValue)
    return CReadBackFailure{IDC_LABELS_PER_SET, IntegerRangeMessage(0, kMaxLabelsPerSet)};
  return std::nullopt;
}

CAdvancedSettingsValues CMainWindowModel::AdvancedValues() const {
  CAdvancedSettingsValues values;
  values.ribbonSaving = InForce().rsrValue == 1;
  values.printToFile = m_printToFile;
  const CCustomQzplHeader* custom = m_job.headerInForce == &m_job.optimisedHeader  ? &m_job.optimisedHeader
                                    : m_job.headerInForce == &m_job.formSizeHeader ? &m_job.formSizeHeader
                                                                                   : nullptr;
  const int darkness = custom ? custom->darknessOverride : -1;
  values.darkness = darkness < 0 ? 15 : darkness;
  return values;
}

void CMainWindowModel::ApplyAdvancedValues(const CAdvancedSettingsValues& values) {
  for (CCustomQzplHeader* h : {&m_job.optimisedHeader, &m_job.formSizeHeader}) {
    h->rsrValue = values.ribbonSaving ? 1 : 0;
    h->darknessOverride = values.darkness;
  }
  m_printToFile = values.printToFile;
  RefreshPrintJobHeaders(m_job, m_plan, false);
}

// --- handlers ------------------------------------------------------------------------------------------------

void CMainWindowModel::OnFormSize() {
  for (int id :
       {IDC_MARGIN_X, IDC_MARGIN_Y, IDC_MARGIN_X_SPIN, IDC_MARGIN_Y_SPIN, IDC_ADJUST_INDIVIDUALLY, IDC_ADJUST_LARGEST})
    Enable(id, false);
  m_job.headerInForce = &m_job.formSizeHeader;
  PlaceFormSize(m_job);
  FitOutlinesWhenOn();
  ArrangeLayout();
  RefreshTexts();
}

void CMainWindowModel::OnOptimised() {
  for (int id : {IDC_MARGIN_X, IDC_MARGIN_Y, IDC_MARGIN_X_SPIN, IDC_MARGIN_Y_SPIN}) Enable(id, true);
  Enable(IDC_ADJUST_INDIVIDUALLY, m_job.pages.size() > 1);
  Enable(IDC_ADJUST_LARGEST, m_job.pages.size() > 1);
  m_job.headerInForce = &m_job.optimisedHeader;
  RePlace();
}

void CMainWindowModel::RePlace() {
  PlaceOptimised(m_job, LengthToDots(m_marginX, m_unit), LengthToDots(m_marginY, m_unit));
  if (Checked(IDC_ADJUST_LARGEST)) CentreOnLargest(m_job);
  FitOutlinesWhenOn();
  ArrangeLayout();
  RefreshTexts();
}

void CMainWindowModel::ApplyMarginX(double value) {
  m_marginX = value;
  if (!Optimised()) return;
  const double largest = CutToDisplayStep(m_largestSideMargin, m_unit);
  if (m_marginX > largest) m_marginX = ShowLength(IDC_MARGIN_X, largest);
  RePlace();
  Repaint(kRepaintAfterChange);
}

void CMainWindowModel::ApplyMarginY(double value) {
  m_marginY = value;
  if (!Optimised()) return;
  RePlace();
  Repaint(kRepaintAfterChange);
}

void CMainWindowModel::ApplyRadius(double value) {
  m_radius = value;
  if (!Checked(IDC_OUTLINE)) return;
  const std::int32_t radius = LengthToPathUnits(m_radius, m_unit);
  std::int64_t maximum = radius;
  if (!SetOutlineRadius(m_job, radius, &maximum) && maximum < radius) {
    // Too round for some label: the largest radius it allows, on the display grid, is taken instead.
    m_radius = ShowLength(IDC_RADIUS, CutToDisplayStep(static_cast<double>(maximum) * m_unitPerDot / 4.0, m_unit));
    SetOutlineRadius(m_job, LengthToPathUnits(m_radius, m_unit), nullptr);
  }
  Repaint(kRepaintAfterChange);
}

void CMainWindowModel::ApplyOffset(double value) {
  m_offset = value;
  SetLabelGap(m_job, LengthToDots(m_offset, m_unit));
  RefreshPrintJobHeaders(m_job, m_plan, true);
  // One page repeats in rows and columns whose count the gap changes: its copies are split by length again.
  if (m_job.pages.size() > 1)
    ArrangeLayout();
  else
    SplitCopiesWithinLimit();
  RefreshTexts();
  Repaint(kRepaintAfterChange);
}

void CMainWindowModel::ApplyCopies(std::int32_t copies) {
  CLayoutResults& r = m_job.layout;
  const std::int32_t before = InForce().totalLabels;
  m_copies = ClampCopies(copies);
  SetTotalLabels(m_job, m_copies);
  const bool forced = m_copies > 1 && SeveralDocumentsOfDifferentPages();
  if (forced) {
    m_copies = 1;
    SetTotalLabels(m_job, 1);
    ShowCount(IDC_COPIES, 1);
  }
  Show(IDC_COPIES_FORCED, forced);
  const std::int32_t after = InForce().totalLabels;
  const bool plainCopies = !r.tapeCutSetsEnabled || r.labelsPerSet == 0;
  if (after != before && r.pageCountAtLoad == 1 &&
      (plainCopies ? r.copiesPlaced == 1 : r.labelsPerSet == r.copiesPlaced)) {
    const std::int64_t single = static_cast<std::int64_t>(r.copiesPlaced) * after;
    r.singlePageCopies = static_cast<std::int32_t>(std::min<std::int64_t>(single, INT32_MAX));
  }
  if (InForce().tapeCutSetsInForce && (before > 1) != (after > 1)) ArrangeLayout();
  SplitCopiesWithinLimit();
  RefreshTexts();
  Repaint(kRepaintAfterChange);
}

void CMainWindowModel::ApplyLabelsPerSet(std::int32_t labels) {
  CLayoutResults& r = m_job.layout;
  // A set holds at most the labels there are: the pages, or the copies of a job that had one page.
  const std::int64_t most = r.pageCountAtLoad == 1 ? r.singlePageCopies : PageCount();
  m_labelsPerSet =
      static_cast<std::int32_t>(std::clamp<std::int64_t>(std::min<std::int64_t>(labels, most), 0, kMaxLabelsPerSet));
  if (m_labelsPerSet != labels) ShowCount(IDC_LABELS_PER_SET, m_labelsPerSet);
  SetTapeCutSets(m_job, r.tapeCutSetsEnabled != 0, m_labelsPerSet);
  const int change = BuildCutSetPages(m_job);
  if (change != 0) {
    m_copies = ClampCopies(static_cast<std::int64_t>(m_copies) + change);
    ShowCount(IDC_COPIES, m_copies);
  }
  if (Optimised()) {
    RePlace();
  } else {
    ArrangeLayout();
    RefreshTexts();
  }
  // The copies changed as if typed: their rules run on the new layout.
  if (m_copiesChanged || change != 0) {
    m_copiesChanged = false;
    if (!m_opening) ApplyCopies(m_copies);
  }
  Repaint(kRepaintAfterChange);
}

void CMainWindowModel::OnOutline(bool on) {
  Enable(IDC_RADIUS, on);
  Enable(IDC_RADIUS_SPIN, on);
  if (on) {
    const bool added = AddOutlines(m_job, LengthToPathUnits(m_radius, m_unit), true);
    ApplyOutlineRadiusWithRetry();
    if (!m_ownCuts && added) m_list.AddCutRow();
  } else {
    if (Optimised()) RePlace();
    RemoveOutlines(m_job);
    if (!m_ownCuts) m_list.RemoveCutRowIfLast();
  }
  RefreshList();
  Repaint(kRepaintNow);
}

void CMainWindowModel::OnLaminate(bool on) {
  m_job.optimisedHeader.laminate = on ? 1 : 0;
  m_job.formSizeHeader.laminate = on ? 1 : 0;
  RefreshPrintJobHeaders(m_job, m_plan, false);
  RefreshTotalLength();
  RefreshTapeLine();
}

void CMainWindowModel::OnTapeCutSets(bool on) {
  for (int id : {IDC_LABELS_PER_SET, IDC_LABELS_PER_SET_SPIN, IDC_LABELS_PER_SET_LABEL}) Enable(id, on);
  if (on) {
    SetTapeCutSets(m_job, true, m_job.layout.labelsPerSet);
  } else {
    const int change = CollapseCutSetPages(m_job);
    SetTapeCutSets(m_job, false, m_job.layout.labelsPerSet);
    if (change != 0) {
      m_copies = ClampCopies(static_cast<std::int64_t>(m_copies) + change);
      ShowCount(IDC_COPIES, m_copies);
      m_copiesChanged = true;
    }
  }
  ApplyLabelsPerSet(m_labelsPerSet);
}

void CMainWindowModel::OnFillDirection() {
  ArrangeLayout();
  RefreshTexts();
  Repaint(kRepaintNow);
}

// --- layout helpers ------------------------------------------------------------------------------------------

void CMainWindowModel::ArrangeLayout() {
  // Rows are arranged for at most two copies; the real count follows, and the split by length only when the
  // print can happen at all, so that a huge count never builds millions of documents.
  const std::int32_t copies = InForce().totalLabels;
  if (copies > 2) SetTotalLabels(m_job, 2);
  ArrangeRows(m_job, m_plan, RightToLeftFill(), Landscape());
  if (copies > 2) {
    SetTotalLabels(m_job, copies);
    SplitCopiesWithinLimit();
  }
}

void CMainWindowModel::SplitCopiesWithinLimit() {
  if (TotalLengthMm() <= kTotalLengthLimitMm) SplitCopiesByLength(m_job, m_plan);
}

void CMainWindowModel::FitOutlinesWhenOn() {
  if (!Checked(IDC_OUTLINE)) return;
  FitOutlines(m_job);
  ApplyOutlineRadiusWithRetry();
}

void CMainWindowModel::ApplyOutlineRadiusWithRetry() {
  const std::int32_t radius = LengthToPathUnits(m_radius, m_unit);
  std::int64_t maximum = radius;
  if (!SetOutlineRadius(m_job, radius, &maximum) && maximum < radius)
    SetOutlineRadius(m_job, static_cast<std::int32_t>(std::max<std::int64_t>(maximum, 0)), nullptr);
}

bool CMainWindowModel::SeveralDocumentsOfDifferentPages() const {
  const auto& jobs = m_plan.printJobs;
  if (DocumentCount(m_plan) < 2 || !jobs.front() || !jobs.back()) return false;
  return jobs.front()->firstPage != jobs.back()->firstPage || jobs.front()->lastPage != jobs.back()->lastPage;
}

// --- texts ---------------------------------------------------------------------------------------------------

double CMainWindowModel::TotalLengthMm() const {
  const CQzplHeader& h = InForce();
  const double rows = std::max<std::int32_t>(h.rows, 1);
  double total = rows * h.length * m_unitPerDot + (rows - 1) * m_offset;
  if (IsInchUnit(m_unit)) total *= kMmPerInch;
  if (Checked(IDC_LAMINATE)) total += kLaminateLeadMm;
  return total;
}

void CMainWindowModel::RefreshTexts() {
  RefreshPrintSize();
  RefreshTotalLength();
  RefreshCopiesInfo();
  RefreshTapeLine();
}

void CMainWindowModel::RefreshPrintSize() {
  const CQzplHeader& h = InForce();
  const CLayoutResults& r = m_job.layout;
  const bool inch = IsInchUnit(m_unit);
  const std::wstring unit = UnitText();
  const std::wstring lead = inch ? unit + L" => " : L"mm => ";
  const std::wstring tail = inch ? L" " + unit : L" mm";
  std::wstring text;
  if (m_job.pages.size() <= 1) {
    text = lead + Length(h.width * m_unitPerDot) + L" x " + Length(h.length * m_unitPerDot) + tail;
  } else if (Checked(IDC_ADJUST_LARGEST) && Optimised()) {
    text = lead + Length(r.widestExtent * m_unitPerDot) + L" x " + Length(r.tallestExtent * m_unitPerDot) + tail;
  } else if (!Optimised()) {
    text = lead + Length(m_formWidth) + L" x " + Length(m_formLength) + tail;
  } else {
    text = lead + L"[" + Length(r.smallestWidth * m_unitPerDot) + L" ~ " + Length(r.widestExtent * m_unitPerDot) +
           L"] x [" + Length(r.smallestHeight * m_unitPerDot) + L" ~ " + Length(r.tallestExtent * m_unitPerDot) + L"]" +
           tail;
  }
  SetText(IDC_PRINT_SIZE, text);
}

void CMainWindowModel::RefreshTotalLength() {
  const double totalMm = TotalLengthMm();
  const bool inch = IsInchUnit(m_unit);
  const double shown = inch ? totalMm / kMmPerInch : totalMm;
  std::wstring text =
      m_language.GetString(kStrTotalLength) + L": " + Length(shown) + (inch ? L" " + UnitText() : L" mm");
  const std::int64_t documents = DocumentCount(m_plan);
  if (documents > 1) text += FormatText(m_language.GetString(kStrPrintJobCount), {static_cast<long long>(documents)});
  SetText(IDC_TOTAL_LENGTH, text);

  const bool resetOn = m_view.At(IDC_RESET_JOBS).enabled;
  const double layoutMm = static_cast<double>(LayoutLength(InForce())) * kMmPerDot;
  if (totalMm > kTotalLengthLimitMm) {
    SetText(IDC_PRINT, FormatText(m_language.GetString(kStrLengthLimit), {kTotalLengthLimitMetres}));
    Enable(IDC_PRINT, false);
  } else if (m_copies > 1 && SeveralDocumentsOfDifferentPages() && layoutMm > kCopiesLengthLimitMm) {
    SetText(IDC_PRINT, FormatText(m_language.GetString(kStrLengthLimit), {kCopiesLengthLimitMetres}));
    Enable(IDC_PRINT, false);
  } else {
    SetLanguageText(IDC_PRINT, kStrPrint);
    Enable(IDC_PRINT, !resetOn);
  }
}

void CMainWindowModel::RefreshCopiesInfo() {
  const CQzplHeader& h = InForce();
  const CLayoutResults& r = m_job.layout;
  const long long copies = m_copies;
  const bool sets = h.tapeCutSetsInForce && r.labelsPerSet > 0;
  std::wstring text, tip;
  bool icon = false;
  if (!sets && h.lastRowPartial) {
    const long long across = std::max<std::int32_t>(h.labelsAcross, 1);
    text = FormatText(m_language.GetString(kStrCopiesPrinted), {copies, L"", across * (copies / across + 1)});
    tip = m_language.GetString(kStrLastRowTip);
    icon = true;
  } else if (sets && r.pageCountAtLoad == 1) {
    const long long requested = r.singlePageCopies;
    const long long perSet = r.labelsPerSet;
    if (requested % perSet != 0) {
      const std::wstring product = std::to_wstring(copies) + L" x " + std::to_wstring(perSet) + L" = ";
      text =
          FormatText(m_language.GetString(kStrCopiesPrinted), {requested, product, perSet * (requested / perSet + 1)});
      tip = m_language.GetString(kStrCutSetsTip);
      icon = true;
    } else {
      text = FormatText(m_language.GetString(kStrCutSetsFit), {copies, perSet, requested});
    }
  }
  SetText(IDC_COPIES_INFO, text);
  Show(IDC_COPIES_INFO, !text.empty());
  Show(IDC_COPIES_INFO_ICON, icon);
  m_view.toolTips[IDC_COPIES_INFO] = tip;
}

void CMainWindowModel::RefreshList() {
  m_view.rows = m_list.View(m_catalogue, m_language);
}

}  // namespace vyx
