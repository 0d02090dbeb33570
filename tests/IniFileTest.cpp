// The INI reader against the rules of the Windows private-profile lookup. Every case runs through
// the file services of the build; under Wine each case is also looked up with
// GetPrivateProfileStringA itself, which must give the same text.
#include <gtest/gtest.h>

#include <string>

#include "files/IniFile.h"
#include "tests/support/ScratchSkin.h"

#ifdef _WIN32
#include "files/win32/Win32.h"
#endif

namespace quil::test {
namespace {

using namespace std::string_literals;

struct IniCase {
  const char* what;
  std::string bytes;
  const char* section;
  const char* key;
  const char* fallback;
  std::size_t capacity;
  std::string expected;
};

const std::string kPluginIni =
    "; a comment\r\n[Other]\r\nDescription=wrong\r\n[ plugin ]\r\n  description =   \"A quoted "
    "value\"  \r\nVariable=\r\nPriority = 12abc\r\nQuote='single'\r\nHalf=\"open\r\n";

const IniCase kCases[] = {
    // What plugin.ini files hold.
    {"quoted, spaced, other case", kPluginIni, "Plugin", "Description", "", 512, "A quoted value"},
    {"present and empty", kPluginIni, "Plugin", "VARIABLE", "NoVar", 512, ""},
    {"missing key", kPluginIni, "Plugin", "Missing", "NoVar", 512, "NoVar"},
    {"value after blanks", kPluginIni, "Plugin", "Priority", "-1", 512, "12abc"},
    {"single quotes", kPluginIni, "Plugin", "Quote", "", 512, "single"},
    {"an unpaired quote stays", kPluginIni, "Plugin", "Half", "", 512, "\"open"},
    {"a comment is a key like any", "[P]\r\n;D=x\r\n", "P", ";D", "", 512, "x"},
    {"spaced query", kPluginIni, " Plugin ", " Priority ", "", 512, "12abc"},
    {"empty file", "", "Plugin", "Description", "none", 512, "none"},
    // Which line counts.
    {"only the first section of a name", "[Plugin]\r\nA=1\r\n[PLUGIN]\r\nDescription=x\r\n",
     "Plugin", "Description", "none", 512, "none"},
    {"the first line of a key, even without =", "[P]\r\nD\r\nD=y\r\n", "P", "D", "none", 512,
     "none"},
    {"a header without ] is no section", "[Plugin\r\nDescription=x\r\n", "Plugin", "Description",
     "none", 512, "none"},
    {"the name runs to the last ]", "[Plu]gin] ; note\r\nD=x\r\n", "Plu]gin", "D", "none", 512,
     "x"},
    {"keys before any section", "D=x\r\n[P]\r\n", "P", "D", "none", 512, "none"},
    {"a value may hold =", "[P]\r\nD = a=b\r\n", "P", "D", "", 512, "a=b"},
    // Line breaks, blanks and odd bytes.
    {"lone carriage returns", "[P]\rD=x\rV=v\r", "P", "V", "", 512, "v"},
    {"CR and LF mixed", "[P]\nD=x\rV=v\n", "P", "D", "", 512, "x"},
    {"tab, vertical tab, form feed, Ctrl-Z", "[P]\x1a\r\n\v\fD\t=\f x \v\x1a\r\nV=v", "P", "D", "",
     512, "x"},
    {"Ctrl-Z inside a value",
     "[P]\r\nD=abc\x1a"
     "def\r\n",
     "P", "D", "", 512,
     "abc\x1a"
     "def"},
    {"no-break space is no blank", "[P]\r\nD=\xa0x\xa0\r\n", "P", "D", "", 512, "\xa0x\xa0"},
    {"NUL ends a value", "[P]\r\nD=ab\0cd\r\nV=v\r\n"s, "P", "D", "", 512, "ab"},
    {"NUL ends a name", "[P]\r\nDe\0scription=x\r\n"s, "P", "De", "", 512, "x"},
    {"ANSI text as it is", "[P]\r\nD=\xe9t\xe9\r\n", "P", "D", "", 512, "\xe9t\xe9"},
    // Quotes and the buffer.
    {"cut to the buffer", "[P]\r\nD=" + std::string(700, 'd') + "\r\n", "P", "D", "", 512,
     std::string(511, 'd')},
    {"quoted, cut", "[P]\r\nD=\"abcdef\"\r\n", "P", "D", "", 4, "abc"},
    {"quoted, closing quote cut", "[P]\r\nD=\"abcdef\"\r\n", "P", "D", "", 7, "abcde"},
    {"quoted, fits", "[P]\r\nD=\"abcdef\"\r\n", "P", "D", "", 8, "abcdef"},
    {"empty quotes", "[P]\r\nD=\"\"\r\n", "P", "D", "none", 512, ""},
    {"fallback without trailing spaces and quotes", "", "P", "D", "\" fb\"  ", 512, " fb"},
    {"fallback cut", "", "P", "D", "fallback", 4, "fal"},
    {"one byte holds nothing", "[P]\r\nD=x\r\n", "P", "D", "", 1, ""},
    // Unicode files become ANSI text.
    {"UTF-8 with byte-order mark",
     "\xEF\xBB\xBF[P]\r\nD=\xC3\xA9\xE2\x80\x99\xE2\x82\xAC\xD0\x91\r\n", "P", "D", "", 512,
     "\xe9\x92\x80?"},
    {"UTF-16 little-endian", "\xFF\xFE[\0P\0]\0\r\0\n\0D\0=\0\xE9\0\x19\x20x\0\r\0\n\0"s, "P", "D",
     "", 512, "\xe9\x92x"},
    {"UTF-16 big-endian", "\xFE\xFF\0[\0P\0]\0\r\0\n\0D\0=\0x"s, "P", "D", "", 512, "x"},
};

TEST(IniFile, LooksUpAsTheWindowsLookupDoes) {
  ScratchSkin skin(false);
  std::unique_ptr<FileServices> files = MakePlatformFileServices();
  int number = 0;
  for (const IniCase& c : kCases) {
    // A file name of its own for each case: Windows keeps the files it has looked up in memory.
    const std::string name = "case" + std::to_string(number++) + ".ini";
    ScratchSkin::Write(skin / name, c.bytes);
    const IniFile ini = ReadIniFile(*files, name);
    EXPECT_EQ(ini.Value(c.section, c.key, c.fallback, c.capacity), c.expected) << c.what;
#ifdef _WIN32
    const std::string path = *files->FullPath(name);
    std::string buffer(c.capacity, '\0');
    const DWORD length = GetPrivateProfileStringA(c.section, c.key, c.fallback, buffer.data(),
                                                  static_cast<DWORD>(c.capacity), path.c_str());
    buffer.resize(length);
    EXPECT_EQ(buffer, c.expected) << c.what << " (GetPrivateProfileStringA)";
#endif
  }
  // A file that does not exist gives the fallback, as one without the key does.
  EXPECT_EQ(ReadIniFile(*files, "missing\\plugin.ini").Value("P", "D", "none", 512), "none");
}

}  // namespace
}  // namespace quil::test
