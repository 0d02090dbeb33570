// Text-mode translation and fgets-like line reading, shared by both platforms.
#include "files/TextMode.h"

namespace quil {

namespace {
constexpr char kCtrlZ = '\x1a';
}

std::string FoldTextMode(std::string_view raw) {
  std::string text;
  text.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (c == kCtrlZ) break;
    if (c == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    text += c;
  }
  return text;
}

std::string ToCrLf(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  return bytes;
}

bool BufferedTextReader::ReadLine(std::string& piece, std::size_t capacity) {
  piece.clear();
  if (capacity < 2 || position_ >= text_.size()) return false;
  const std::size_t limit = capacity - 1;
  while (position_ < text_.size() && piece.size() < limit) {
    const char c = text_[position_++];
    piece += c;
    if (c == '\n') break;
  }
  return true;
}

}  // namespace quil
