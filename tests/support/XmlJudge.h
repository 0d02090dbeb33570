// libxml2 as the judge of the XML the utility writes: a document is parsed as a conformant parser
// reads it, with its external DTDs and entities loaded from disk (backslashes in paths made
// slashes, as in every file read) and every entity expanded.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace quil::test {

struct XmlVerdict {
  std::string errors;  // what libxml2 reported as errors, one a line; empty when it had none
  // Of each general entity asked for: its expansion in an attribute value and in content.
  std::map<std::string, std::string> inAttribute;
  std::map<std::string, std::string> inContent;
  // Of each parameter entity asked for: its replacement text read as the content of an element.
  std::map<std::string, std::string> parameter;
};

// Parses a small document whose internal DTD subset is `declarations`, as if it lay at `base` (a
// path that relative SYSTEM literals are resolved against), and whose element refers to each of
// `general` in an attribute value and in content. All texts come back in UTF-8.
XmlVerdict JudgeEntities(std::string_view declarations, const std::string& base,
                         const std::vector<std::string>& general,
                         const std::vector<std::string>& parameter = {});

// Parses the file at `path` as it stands; the errors libxml2 reported, empty when none.
std::string JudgeDocument(const std::string& path);

// The UTF-8 form of a text in Windows-1252.
std::string Utf8FromWindows1252(std::string_view text);

}  // namespace quil::test
