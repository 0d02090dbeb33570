// The dialog's pages, one row each in the order of their tabs: which page it is, its dialog
// template and its tab's text. The tabs, the tabs' painted labels, the pages' creation and the
// switching between them all come from this table, so a new page is one row here, one template
// and the controls it holds.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/ControlIds.h"
#include "core/Ports.h"

namespace quil {

struct PageRow {
  Page page;
  int templateId;
  // An ampersand marks the tab's access key; "&&" stands for one ampersand.
  std::string_view tabText;
};

inline constexpr std::array<PageRow, 3> kPages{{
    {Page::General, kGeneralTemplate, "&General"},
    {Page::Colors, kColorsTemplate, "Colors"},
    {Page::Plugins, kPluginsTemplate, "Plugins"},
}};

// The index of `page` in kPages, or kPages.size() for a page that has no tab (the main dialog).
constexpr std::size_t PageIndex(Page page) {
  for (std::size_t i = 0; i < kPages.size(); ++i) {
    if (kPages[i].page == page) return i;
  }
  return kPages.size();
}

// A control's or tab's text as it is painted and as a screen reader reads it: without the
// access-key marks.
inline std::string WithoutAccessMarks(std::string_view text) {
  std::string label;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    label += text[i];
  }
  return label;
}

}  // namespace quil
