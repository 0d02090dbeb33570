// Texts inside config.dtd: the value of an entity declaration, the comment of the scheme line and
// the SYSTEM literals that bind the plugins' files. The skin's XML parser expands the entities in
// attribute values and in content, and config.dtd declares no encoding, so whatever is typed or
// named must come back from it exactly while the file stays plain ASCII.
#pragma once

#include <string>
#include <string_view>

namespace quil {

// A text of the ANSI code page as the value of an entity declaration: "&" as "&amp;", "<" as
// "&lt;", the double quote and "%" as "&#34;" and "&#37;", and every character outside ASCII as a
// numeric character reference to its Unicode code point. A tab or line break, which a parser makes
// a blank in an attribute, is written as a blank; another character that XML cannot carry is
// written as "?".
std::string EscapeEntityText(std::string_view text);
// The text a value stands for, in the ANSI code page: the references above, the other predefined
// ones and any numeric character reference are read back as their characters (one the code page
// lacks as "?"); every other byte, such as the raw bytes of files written before references were,
// stands for itself.
std::string UnescapeEntityText(std::string_view value);

// A value the reader's line buffer cut short may end inside a reference ("&#23" of "&#233;"):
// without that partial reference, so that the cut never shows as text.
std::string_view WithoutPartialReference(std::string_view value);

// A name inside a comment: written as a value is, and a "-" that follows another one as "&#45;",
// since "--" would end the comment.
std::string EscapeCommentText(std::string_view text);

// Whether `text` can stand inside a SYSTEM literal as it is. Such a literal takes no references,
// and a parser takes it as a URI: it must be ASCII without control characters, without the double
// quote that would end it, without "%" (a parser reads "%41" as "A") and without "#" (a fragment,
// which a system identifier may not have).
bool FitsSystemLiteral(std::string_view text);

// Whether `text` can follow "modpack_" in an entity name: ASCII letters, digits, ".", "-" and "_".
bool FitsEntityName(std::string_view text);

}  // namespace quil
