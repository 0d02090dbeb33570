// The dialog templates' layout read from the resources (the extended template format: a header,
// the font, then one DWORD-aligned record per control), and the arithmetic by which the dialog
// manager turns dialog units into pixels.
#include "window/DialogLayout.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace quil {

namespace {

// The letters whose average width is the horizontal base unit.
constexpr std::wstring_view kAlphabet = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
// The signature word of an extended template, after its version word 1.
constexpr std::uint16_t kExtendedSignature = 0xFFFF;
// A "name or ordinal" field: none, an ordinal after this word, or else a text.
constexpr std::uint16_t kNoName = 0x0000;
constexpr std::uint16_t kOrdinal = 0xFFFF;

// Reads a template's bytes front to back; every read past the end fails the reader for good.
class TemplateReader {
 public:
  TemplateReader(const std::byte* data, std::size_t size) : data_(data), size_(size) {}

  bool Ok() const { return ok_; }

  template <typename T>
  T Read() {
    T value{};
    if (!ok_ || size_ - offset_ < sizeof value) {
      ok_ = false;
      return value;
    }
    std::memcpy(&value, data_ + offset_, sizeof value);
    offset_ += sizeof value;
    return value;
  }

  std::wstring ReadText() {
    std::wstring text;
    for (auto c = Read<std::uint16_t>(); ok_ && c != 0; c = Read<std::uint16_t>()) {
      text += static_cast<wchar_t>(c);
    }
    return text;
  }

  void SkipNameOrOrdinal() {
    const auto first = Read<std::uint16_t>();
    if (first == kOrdinal) {
      Read<std::uint16_t>();
    } else if (first != kNoName) {
      ReadText();
    }
  }

  void Skip(std::size_t bytes) {
    if (!ok_ || size_ - offset_ < bytes) {
      ok_ = false;
      return;
    }
    offset_ += bytes;
  }

  void AlignToDword() { Skip((4 - offset_ % 4) % 4); }

 private:
  const std::byte* data_;
  std::size_t size_;
  std::size_t offset_ = 0;
  bool ok_ = true;
};

DialogUnits ReadUnits(TemplateReader& reader) {
  DialogUnits units;
  units.x = reader.Read<std::int16_t>();
  units.y = reader.Read<std::int16_t>();
  units.width = reader.Read<std::int16_t>();
  units.height = reader.Read<std::int16_t>();
  return units;
}

}  // namespace

bool ReadTemplateLayout(HINSTANCE instance, int templateId, TemplateLayout& layout) {
  const HRSRC resource = FindResourceA(instance, MAKEINTRESOURCEA(templateId), RT_DIALOG);
  const HGLOBAL loaded = resource ? LoadResource(instance, resource) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return false;
  TemplateReader reader(static_cast<const std::byte*>(bytes), SizeofResource(instance, resource));
  TemplateLayout read;
  reader.Read<std::uint16_t>();  // version
  if (reader.Read<std::uint16_t>() != kExtendedSignature) return false;
  reader.Read<std::uint32_t>();  // help context
  reader.Read<std::uint32_t>();  // extended style
  const auto style = reader.Read<std::uint32_t>();
  const auto count = reader.Read<std::uint16_t>();
  read.rect = ReadUnits(reader);
  reader.SkipNameOrOrdinal();  // menu
  reader.SkipNameOrOrdinal();  // window class
  reader.ReadText();           // caption
  if (!(style & DS_SETFONT)) return false;
  read.pointSize = reader.Read<std::uint16_t>();
  read.weight = reader.Read<std::uint16_t>();
  read.italic = reader.Read<std::uint8_t>() != 0;
  read.charset = reader.Read<std::uint8_t>();
  read.face = reader.ReadText();
  for (int i = 0; i < count && reader.Ok(); ++i) {
    reader.AlignToDword();
    reader.Read<std::uint32_t>();  // help context
    reader.Read<std::uint32_t>();  // extended style
    reader.Read<std::uint32_t>();  // style
    TemplateLayout::Control control;
    control.rect = ReadUnits(reader);
    control.id = static_cast<int>(reader.Read<std::int32_t>());
    reader.SkipNameOrOrdinal();                 // window class
    reader.SkipNameOrOrdinal();                 // text
    reader.Skip(reader.Read<std::uint16_t>());  // creation data
    read.controls.push_back(control);
  }
  if (!reader.Ok()) return false;
  layout = std::move(read);
  return true;
}

HFONT CreateTemplateFont(const TemplateLayout& layout, int dpi) {
  return CreateFontW(-MulDiv(layout.pointSize, dpi, 72), 0, 0, 0, layout.weight,
                     layout.italic ? TRUE : FALSE, FALSE, FALSE, static_cast<DWORD>(layout.charset),
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FF_DONTCARE,
                     layout.face.c_str());
}

SIZE DialogBaseUnits(HFONT font) {
  const HDC dc = GetDC(nullptr);
  const HGDIOBJ displaced = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  SIZE letters{};
  const bool measured =
      GetTextMetricsW(dc, &metrics) &&
      GetTextExtentPoint32W(dc, kAlphabet.data(), static_cast<int>(kAlphabet.size()), &letters);
  SelectObject(dc, displaced);
  ReleaseDC(nullptr, dc);
  if (!measured) return {};
  return {(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

RECT DialogUnitsToPixels(const DialogUnits& units, SIZE base) {
  const int left = MulDiv(units.x, base.cx, 4);
  const int top = MulDiv(units.y, base.cy, 8);
  return {left, top, left + MulDiv(units.width, base.cx, 4),
          top + MulDiv(units.height, base.cy, 8)};
}

void LayOutControls(HWND dialog, const TemplateLayout& layout, SIZE base, HFONT font) {
  HWND child = GetWindow(dialog, GW_CHILD);
  for (const TemplateLayout::Control& control : layout.controls) {
    // Identifiers compare in the 16 bits that every template keeps of them.
    if (!child || (GetDlgCtrlID(child) & 0xFFFF) != (control.id & 0xFFFF)) return;
    const RECT r = DialogUnitsToPixels(control.rect, base);
    SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    child = GetWindow(child, GW_HWNDNEXT);
  }
}

}  // namespace quil
