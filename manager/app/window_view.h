// What a window model asks its dialog to show: per control id a text, enabled, visible and checked; list rows with
// a text and an image per column. The Win32 dialog renders it and changes only what differs.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vyx {

struct CControlView {
  std::optional<std::wstring> text;  // none: the dialog template's text stays
  bool enabled = true;
  bool visible = true;
  bool checked = false;
  bool operator==(const CControlView&) const = default;
};

struct CListCellView {
  std::wstring text;
  int image = -1;  // index into the list's image lists; -1 none
  bool operator==(const CListCellView&) const = default;
};

inline constexpr int kJobListColumns = 6;

struct CListRowView {
  std::int32_t itemData = 0;
  std::array<CListCellView, kJobListColumns> cells;
  bool hasCheckBox = true;
  bool checked = false;
  bool operator==(const CListRowView&) const = default;
};

struct CWindowView {
  std::map<int, CControlView> controls;
  std::vector<CListRowView> rows;
  std::map<int, std::wstring> toolTips;  // by control id; an empty text removes the tip

  CControlView& operator[](int id) { return controls[id]; }
  const CControlView& At(int id) const {
    static const CControlView none;
    const auto it = controls.find(id);
    return it == controls.end() ? none : it->second;
  }
};

}  // namespace vyx
