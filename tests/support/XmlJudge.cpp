// The libxml2 judge.
#include "tests/support/XmlJudge.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/uri.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>

#include "files/AnsiCodePage.h"

namespace quil::test {

namespace {

constexpr int kOptions = XML_PARSE_NOENT | XML_PARSE_DTDLOAD | XML_PARSE_NONET;

std::string Slashes(std::string text) {
  std::replace(text.begin(), text.end(), '\\', '/');
  return text;
}

// The errors of the parse under way, where the loader reports a file it cannot read.
std::string* loadErrors = nullptr;

// Reads external entities from disk with every backslash made a slash, in the paths and in the
// text, since libxml2 takes a backslash as part of a name.
xmlParserInputPtr LoadWithSlashes(const char* url, const char* /*id*/, xmlParserCtxtPtr context) {
  std::string path = url == nullptr ? "" : Slashes(url);
  if (path.rfind("file://", 0) == 0) path.erase(0, 7);
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    char* unescaped = xmlURIUnescapeString(path.c_str(), 0, nullptr);
    if (unescaped != nullptr) {
      file.open(unescaped, std::ios::binary);
      xmlFree(unescaped);
    }
  }
  if (!file) {
    if (loadErrors != nullptr) *loadErrors += "cannot load " + path + "\n";
    return nullptr;
  }
  const std::string text = Slashes(std::string(std::istreambuf_iterator<char>(file), {}));
  xmlParserInputBufferPtr buffer = xmlParserInputBufferCreateMem(
      text.data(), static_cast<int>(text.size()), XML_CHAR_ENCODING_NONE);
  if (buffer == nullptr) return nullptr;
  xmlParserInputPtr input = xmlNewIOInputStream(context, buffer, XML_CHAR_ENCODING_NONE);
  if (input == nullptr) {
    xmlFreeParserInputBuffer(buffer);
    return nullptr;
  }
  input->filename =
      reinterpret_cast<char*>(xmlStrdup(reinterpret_cast<const xmlChar*>(path.c_str())));
  return input;
}

void CollectError(void* errors, xmlErrorPtr error) {
  if (error == nullptr || error->level < XML_ERR_ERROR) return;
  auto& text = *static_cast<std::string*>(errors);
  text += (error->file != nullptr ? std::string(error->file) : std::string("(document)")) + ":" +
          std::to_string(error->line) + ": " + (error->message ? error->message : "");
  if (text.empty() || text.back() != '\n') text += '\n';
}

// Parses with the loader and the error collection in place for this parse only.
struct Parse {
  std::string errors;
  xmlDocPtr doc = nullptr;

  Parse(std::string_view text, const std::string& url) {
    const xmlExternalEntityLoader previous = xmlGetExternalEntityLoader();
    xmlSetExternalEntityLoader(LoadWithSlashes);
    xmlSetStructuredErrorFunc(&errors, CollectError);
    loadErrors = &errors;
    // The document's own path as a URI, against which relative SYSTEM literals are resolved.
    xmlChar* uri = xmlPathToURI(reinterpret_cast<const xmlChar*>(url.c_str()));
    doc = xmlReadMemory(text.data(), static_cast<int>(text.size()),
                        reinterpret_cast<const char*>(uri), nullptr, kOptions);
    xmlFree(uri);
    loadErrors = nullptr;
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    xmlSetExternalEntityLoader(previous);
    if (doc == nullptr && errors.empty()) errors = "no document\n";
  }
  ~Parse() { xmlFreeDoc(doc); }
  Parse(const Parse&) = delete;
  Parse& operator=(const Parse&) = delete;
};

std::string Owned(xmlChar* text) {
  std::string out = text == nullptr ? "" : reinterpret_cast<const char*>(text);
  xmlFree(text);
  return out;
}

}  // namespace

XmlVerdict JudgeEntities(std::string_view declarations, const std::string& base,
                         const std::vector<std::string>& general,
                         const std::vector<std::string>& parameter) {
  std::string document = "<!DOCTYPE judge [\n" + std::string(declarations) + "\n]>\n<judge>";
  for (const std::string& name : general) {
    document += "<e n=\"" + name + "\" v=\"&" + name + ";\">&" + name + ";</e>";
  }
  document += "</judge>\n";

  XmlVerdict verdict;
  Parse parse(document, Slashes(base));
  verdict.errors = parse.errors;
  if (parse.doc == nullptr) return verdict;
  const xmlNodePtr root = xmlDocGetRootElement(parse.doc);
  for (xmlNodePtr e = root == nullptr ? nullptr : root->children; e != nullptr; e = e->next) {
    if (e->type != XML_ELEMENT_NODE) continue;
    const std::string name = Owned(xmlGetProp(e, reinterpret_cast<const xmlChar*>("n")));
    verdict.inAttribute[name] = Owned(xmlGetProp(e, reinterpret_cast<const xmlChar*>("v")));
    verdict.inContent[name] = Owned(xmlNodeGetContent(e));
  }
  for (const std::string& name : parameter) {
    const xmlEntityPtr entity =
        xmlGetParameterEntity(parse.doc, reinterpret_cast<const xmlChar*>(name.c_str()));
    if (entity == nullptr || entity->content == nullptr) continue;
    const std::string element =
        "<p>" + std::string(reinterpret_cast<const char*>(entity->content)) + "</p>";
    Parse content(element, Slashes(base));
    verdict.errors += content.errors;
    if (content.doc != nullptr) {
      verdict.parameter[name] = Owned(xmlNodeGetContent(xmlDocGetRootElement(content.doc)));
    }
  }
  return verdict;
}

std::string JudgeDocument(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return "cannot open " + path + "\n";
  const std::string text = Slashes(std::string(std::istreambuf_iterator<char>(file), {}));
  Parse parse(text, Slashes(path));
  return parse.errors;
}

std::string Utf8FromWindows1252(std::string_view text) {
  std::string out;
  for (const char byte : text) {
    const char32_t c = Windows1252ToUnicode(static_cast<unsigned char>(byte));
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace quil::test
