// Small text helpers shared by every part of the utility: fixed capacities on std::string, the
// integer rule of the settings files and comparisons without regard to case (ASCII letters only,
// as the ANSI code page's case folding of the skin's names).
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace quil {

// The text as it fits into a buffer of `capacity` bytes with its terminator: at most
// capacity - 1 bytes.
std::string Bounded(std::string_view text, std::size_t capacity);

// The leading decimal number of `text` after optional blanks and an optional sign; 0 when there
// are no digits. Values beyond the range of int are held at its limits.
int LeadingInt(std::string_view text);

char LowerAscii(char c);
bool EqualsNoCase(std::string_view a, std::string_view b);
// True when `text` begins with `prefix`, compared without regard to case over the prefix's length.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
// Ordering without regard to case, as a sorted list box and the folder listings use it.
bool LessNoCase(std::string_view a, std::string_view b);

// `text` without its last character when that character is a line break.
std::string_view WithoutLineBreak(std::string_view text);

// Replaces the %s and %d placeholders of `format` in turn by `args`, and %% by one percent sign.
std::string Format(std::string_view format, std::initializer_list<std::string_view> args);

}  // namespace quil
