// Text mode as the Windows C runtime applies it, shared by both file-services implementations so
// that both builds read and write the same bytes: on reading, CRLF becomes "\n" and a Ctrl-Z ends
// the file; on writing, every "\n" becomes CRLF.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "files/FileServices.h"

namespace quil {

// The characters a text-mode read of `raw` delivers.
std::string FoldTextMode(std::string_view raw);
// The bytes a text-mode write of `text` puts on disk.
std::string ToCrLf(std::string_view text);

// Reads lines like fgets from the whole content of a file, folded to text mode at construction.
class BufferedTextReader : public TextReader {
 public:
  explicit BufferedTextReader(std::string_view rawBytes) : text_(FoldTextMode(rawBytes)) {}
  bool ReadLine(std::string& piece, std::size_t capacity) override;
  void Rewind() override { position_ = 0; }

 private:
  std::string text_;
  std::size_t position_ = 0;
};

}  // namespace quil
