// The ANSI code page, in which the utility holds every text (what is typed into the pages, the
// names of files and folders), and Unicode, by which XML names a character. The build chooses the
// conversion: the Windows program converts with the system's ANSI code page, the portable build
// with Windows-1252.
#pragma once

#include <string>
#include <string_view>

namespace quil {

// The Unicode characters of a text in the ANSI code page. A byte sequence that the code page does
// not define becomes the platform's replacement character.
std::u32string AnsiToUnicode(std::string_view text);
// The ANSI text of Unicode characters; a character the code page lacks becomes "?".
std::string UnicodeToAnsi(std::u32string_view text);

// Windows-1252, one byte a character: the Unicode character of a byte (the five bytes the code
// page leaves undefined stand for the characters of the same value), and the byte of a character,
// "?" for one the code page lacks.
char32_t Windows1252ToUnicode(unsigned char byte);
char UnicodeToWindows1252(char32_t c);

}  // namespace quil
