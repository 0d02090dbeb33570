// The colors.dtd rules as the fuzz targets check them, written apart from the product's reader
// and writer: where the reader finds each slot and what it reads there.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/Text.h"
#include "colors/SchemeColors.h"

namespace quil::fuzz {

// The positions of the double quotes of a line.
inline std::vector<std::size_t> QuotesOf(std::string_view line) {
  std::vector<std::size_t> quotes;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quotes.push_back(i);
  }
  return quotes;
}

// The color of a slot line: the numbers after its 1st, 3rd and 5th double quotes.
inline Color ExpectedSlotColor(std::string_view line) {
  const auto quotes = QuotesOf(line);
  int components[3] = {0, 0, 0};
  for (std::size_t c = 0; c < 3; ++c) {
    if (2 * c < quotes.size()) components[c] = LeadingInt(line.substr(quotes[2 * c] + 1));
  }
  return MakeColor(components[0], components[1], components[2]);
}

// The 21 slots as the reader takes them from `pieces`: one forward search for " <name>Red " each;
// a slot whose line is missing, and every later one, is 0.
inline std::array<Color, kColorsDtdSlots.size()> ExpectedSlots(
    const std::vector<std::string>& pieces) {
  std::array<Color, kColorsDtdSlots.size()> slots{};
  std::size_t at = 0;
  for (std::size_t s = 0; s < kColorsDtdSlots.size(); ++s) {
    const std::string key = " " + std::string(EntryName(kColorsDtdSlots[s])) + "Red ";
    while (at < pieces.size() && pieces[at].find(key) == std::string::npos) ++at;
    if (at == pieces.size()) break;
    slots[s] = ExpectedSlotColor(pieces[at++]);
  }
  return slots;
}

}  // namespace quil::fuzz
