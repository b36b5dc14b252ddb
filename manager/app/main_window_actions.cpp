// The main window's PRINT and Reset all jobs, and the materials the printer reports (tape and ribbon lines, the
// tape short rule, colours the new tape cannot take, the black tape rule).
#include <algorithm>
#include <cmath>

#include "common/string_ids.h"
#include "manager/app/main_window_model.h"
#include "manager/app/number_entry.h"
#include "manager/app/printer_materials.h"
#include "manager/output/layout.h"

namespace vyx {

namespace {

constexpr double kLaminateLeadMm = 500.0;
constexpr double kCmPerInch = 2.54;

}  // namespace

// --- PRINT ---------------------------------------------------------------------------------------------------

bool CMainWindowModel::BeginPrint(CPrintChannel& channel, const CWindowPrintSeams& seams) {
  if (m_printToFile) {
    const std::wstring offered =
        std::wstring(kPrintFileFolder) + L"\\PrintData_" + std::to_wstring(seams.jobId) + L".zpl";
    const std::optional<std::wstring> chosen = seams.chooseFile ? seams.chooseFile(offered) : offered;
    // A cancelled save dialog prints nothing.
    if (!chosen || chosen->empty()) return false;
    channel.OpenFileOutput(*chosen);
  } else {
    channel.OpenPrinterOutput(seams.printerName);
  }
  // The channel has told the user why; the rows stay as they are, so that nothing looks printed that was not.
  if (!channel.Handle()) return false;
  m_rowsBeforePrint = m_list.Rows();
  m_list.BuildPrintRecipe(m_catalogue, m_plan);
  return true;
}

bool CMainWindowModel::WritePrint(CPrintChannel& channel, int storedDarkness) {
  return vyx::Print(m_job, m_plan, channel, storedDarkness);
}

void CMainWindowModel::EndPrint(CPrintChannel& channel, bool written) {
  channel.CloseOutput();
  m_plan.writeCommands.clear();
  if (written) {
    Enable(IDC_PRINT, false);
    Show(IDC_PRINT, false);
    Show(IDC_RESET_JOBS, true);
    Enable(IDC_RESET_JOBS, true);
  } else {
    m_list.MutableRows() = m_rowsBeforePrint;
  }
  m_rowsBeforePrint.clear();
  RefreshList();
  RefreshTotalLength();
  Repaint(kRepaintNow);
}

bool CMainWindowModel::Print(CPrintChannel& channel, const CWindowPrintSeams& seams) {
  if (!BeginPrint(channel, seams)) return false;
  const bool written = WritePrint(channel, seams.storedDarkness);
  EndPrint(channel, written);
  return written;
}

void CMainWindowModel::ResetAllJobs() {
  m_list.ResetAll();
  Show(IDC_RESET_JOBS, false);
  Enable(IDC_RESET_JOBS, false);
  Show(IDC_PRINT, true);
  RefreshTotalLength();  // PRINT's text and state follow the length rules again
  RefreshList();
  Repaint(kRepaintNow);
}

// --- materials -----------------------------------------------------------------------------------------------

CStatusUpdate CMainWindowModel::OnStatusReply(const char* reply, std::size_t size) {
  CStatusUpdate update;
  if (!reply || size == 0 || size > kMaterialsReplyBytes) return update;
  const std::vector<CLoadedMaterial> lines = ParseLoadedMaterialsStrict(reply, size);
  if (lines.empty()) return update;
  const CLoadedMaterial& tape = lines[0];
  const bool knownTape = std::any_of(m_catalogue.tapes.begin(), m_catalogue.tapes.end(),
                                     [&tape](const CColor& t) { return t.tapeId == tape.id; });
  if (!knownTape) return update;
  update.accepted = true;

  if (!m_tapeReported || tape.id != m_tapeId || tape.remainingCm != m_tapeRemaining) {
    update.tapeChanged = tape.id != m_tapeId;
    m_tapeId = tape.id;
    m_tapeRemaining = tape.remainingCm;
    m_tapeReported = true;
    RefreshTapeLine();
  }
  if (update.tapeChanged) {
    // Colours of the tape's own class do not show on it.
    const std::wstring tapeClass = m_catalogue.TapeClass(m_tapeId);
    if (m_list.SkipRowsPrintedWith(m_catalogue,
                                   [&tapeClass](const CColorRibbon& r) { return r.className == tapeClass; }) > 0) {
      RefreshList();
      Repaint(kRepaintNow);
    }
  }
  if (lines.size() > 1) {
    const CLoadedMaterial& ribbon = lines[1];
    if (!m_ribbonReported || ribbon.id != m_ribbonId || ribbon.remainingCm != m_ribbonRemaining) {
      m_ribbonId = ribbon.id;
      m_ribbonRemaining = ribbon.remainingCm;
      m_ribbonReported = true;
      RefreshRibbonLine();
    }
  }
  return update;
}

bool CMainWindowModel::RunBlackTapeRule() {
  const bool changed = m_catalogue.ApplyBlackTapeRule(m_tapeId, m_job);
  Repaint(kRepaintNow);
  return changed;
}

namespace {

std::wstring MaterialName(const CLanguageText& language, int base, std::int32_t id, const std::wstring& fallback) {
  std::wstring name = language.GetString(base + id);
  if (name.empty()) name = fallback;
  if (name.empty()) name = std::to_wstring(id);
  return name;
}

}  // namespace

void CMainWindowModel::RefreshTapeLine() {
  if (!m_tapeReported) return;
  std::wstring catalogueName;
  for (const CColor& t : m_catalogue.tapes)
    if (t.tapeId == m_tapeId) catalogueName = t.name;
  const std::wstring name = MaterialName(m_language, kStrTapeNameBase, m_tapeId, catalogueName);
  const std::wstring label = m_language.GetString(kStrTape);
  const bool inch = IsInchUnit(m_unit);
  // What the job needs, lamination lead included, against what is left.
  const double needMm =
      static_cast<double>(LayoutLength(InForce())) * kMmPerDot + (Checked(IDC_LAMINATE) ? kLaminateLeadMm : 0.0);
  m_tapeShort = needMm > static_cast<double>(m_tapeRemaining) * 10.0;
  std::wstring text;
  if (!m_tapeShort) {
    text = L" " + label + L" " + name + L", " +
           (inch ? FormatFixed(m_tapeRemaining / 30.48, 1) + L" " + m_language.GetString(kStrFeetUnit)
                 : FormatFixed(m_tapeRemaining / 100.0, 1) + L" m");
  } else if (inch) {
    const long long inches = static_cast<long long>(std::floor(m_tapeRemaining / kCmPerInch + 0.5));
    text = L" " + label + L" " + m_language.GetString(kStrTooShort) + L" (" + std::to_wstring(inches) + L" " +
           m_language.GetString(kStrInchUnit) + L")";
  } else {
    text = L" " + label + L" " + m_language.GetString(kStrTooShort) + L" (" + FormatFixed(m_tapeRemaining / 100.0, 1) +
           L" m)";
  }
  SetText(IDC_TAPE_LINE, text);
}

void CMainWindowModel::RefreshRibbonLine() {
  if (!m_ribbonReported) return;
  const int index = m_catalogue.IndexOfRibbonId(m_ribbonId);
  const std::wstring catalogueName = index >= 0 ? m_catalogue.ribbons[static_cast<std::size_t>(index)].name : L"";
  const std::wstring name = MaterialName(m_language, kStrRibbonNameBase, m_ribbonId, catalogueName);
  const bool inch = IsInchUnit(m_unit);
  SetText(IDC_RIBBON_LINE,
          L" " + m_language.GetString(kStrRibbon) + L" " + name + L", " +
              (inch ? FormatFixed(m_ribbonRemaining / 30.48, 1) + L" " + m_language.GetString(kStrFeetUnit)
                    : FormatFixed(m_ribbonRemaining / 100.0, 1) + L" m"));
}

}  // namespace vyx
