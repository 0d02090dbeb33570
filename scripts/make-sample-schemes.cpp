// Builds the color schemes of the sample skin: for each scheme its colors.dtd layout, filled in by
// the utility's own colors.dtd writer, its colors.ini, written whole by the utility's colors.ini
// writer, the pristine copies colors_default.dtd and colors_default.ini, and a small Quil.bmp
// preview painted in the scheme's colors. Also the folder mods\all, which holds no scheme.
// Run through scripts/make-sample-schemes.sh with the sample skin folder as the argument.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "colors/ColorsDtd.h"
#include "colors/ColorsIni.h"
#include "core/App.h"

namespace {

namespace fs = std::filesystem;
using namespace quil;

// Ports that nobody sees: the generator runs without a dialog, and any message is a failure.
class Silent : public DialogControls, public MessageBoxes, public ProgramExit {
 public:
  void SetText(Page, int, std::string_view) override {}
  std::string GetText(Page, int, std::size_t) override { return {}; }
  void SetChecked(Page, int, bool) override {}
  bool IsChecked(Page, int) override { return false; }
  void ClearList(Page, int) override {}
  int AddListLine(Page, int, std::string_view) override { return 0; }
  void DeleteListLine(Page, int, int) override {}
  int ListLineCount(Page, int) override { return 0; }
  std::string ListLine(Page, int, int) override { return {}; }
  bool IsListLineSelected(Page, int, int) override { return false; }
  void SelectListLine(Page, int, int, bool) override {}
  void Show(Page, int, bool) override {}
  void Focus(Page, int) override {}
  void SetCommitHandler(Page, int, CommitHandler) override {}
  void RedrawControl(Page, int) override {}
  void RedrawMain() override {}
  void EndDialog() override {}
  void Notice(std::string_view text) override { Fail(text); }
  void Failure(std::string_view text) override { Fail(text); }
  bool Ask(std::string_view text) override { return Fail(text); }
  void Plain(std::string_view text) override { Fail(text); }
  [[noreturn]] void Exit(int status) override { std::exit(status); }

 private:
  [[noreturn]] static bool Fail(std::string_view text) {
    std::cerr << "unexpected message: " << text << "\n";
    std::exit(1);
  }
};

struct Scheme {
  const char* folder;
  const char* title;
  // The 21 colors.dtd slots and the 13 text colors, by entry.
  std::vector<std::pair<ColorEntry, Color>> colors;
  bool compactLayout;     // one declaration after the other, a comment at the end of the line
  bool lastLineUnbroken;  // the file's last line has no line break
};

// The colors.dtd layout of a scheme with every component 0; the writer fills the numbers in. The
// comments and extra entities are the scheme's own and come through unchanged.
std::string DtdLayout(const Scheme& scheme) {
  const auto slot = [&](const char* name, const char* note) {
    std::string n = name;
    if (scheme.compactLayout) {
      return "<!ENTITY " + n + "Red \"0\"><!ENTITY " + n + "Green \"0\"><!ENTITY " + n +
             "Blue \"0\"><!-- " + note + " -->\n";
    }
    return "<!ENTITY " + n + "Red \"0\"> <!ENTITY " + n + "Green \"0\"> <!ENTITY " + n +
           "Blue \"0\">\n";
  };
  std::string text;
  text += "<!-- Quil color scheme: " + std::string(scheme.title) + " -->\n";
  text += "<!-- Three entities a color: red, green and blue, each 0 to 255. -->\n";
  text += "<!ENTITY schemeTitle \"" + std::string(scheme.title) + "\">\n";
  text += "<!ENTITY % schemeLoaded \"INCLUDE\">\n";
  text += "\n<!-- Contact list -->\n";
  text += slot("disp", "list background");
  text += slot("border", "frame");
  text += slot("edt", "edit boxes");
  text += slot("tp", "titles");
  text += "<!ENTITY frameWidth \"2\">\n";
  text += "\n<!-- Message templates -->\n";
  text += slot("bgtpl", "template window");
  text += slot("fgtpl", "template text");
  text += "\n<!-- Contact states -->\n";
  text += slot("attn", "recently offline");
  text += slot("bright", "recently online");
  text += slot("grey", "idle or away");
  text += slot("ltgrey", "offline");
  text += slot("online", "online");
  text += "\n<!-- Buttons: flat, hover, pushed, disabled -->\n";
  text += slot("BtFlat", "flat");
  text += slot("BtOver", "hover");
  text += slot("BtPush", "pushed");
  text += slot("BtDisabled", "disabled");
  text += "\n<!-- Windows -->\n";
  text += slot("displ", "message window");
  text += slot("chan", "group window");
  text += slot("console", "server window");
  text += slot("editfg", "nick list and edit box text");
  text += "\n<!-- Selection -->\n";
  text += slot("highlight", "selected");
  text += slot("mouseover", "hover");
  text += "<!ENTITY hoverUnderline \"1\">\n";
  text += "<!-- end of scheme -->";
  if (!scheme.lastLineUnbroken) text += "\n";
  return text;
}

void Put(std::string& bytes, unsigned value, int size) {
  for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A 116 by 45, 24-bit preview: a title bar, the list with a line in each contact state, and a
// frame in the border color.
std::string Preview(const SchemeColors& c) {
  constexpr int kWidth = 116;
  constexpr int kHeight = 45;
  constexpr int kRow = kWidth * 3;  // already a multiple of 4
  const auto at = [&](int x, int y) -> Color {
    if (x == 0 || y == 0 || x == kWidth - 1 || y == kHeight - 1) return c[border];
    if (y < 10) return (x > 4 && x < 60 && y > 3 && y < 7) ? c[tp] : c[edt];
    const ColorEntry states[] = {online, bright, attn, grey, ltgrey};
    const int line = (y - 12) / 6;
    if (line >= 0 && line < 5 && (y - 12) % 6 < 3 && x > 8 && x < 70) return c[states[line]];
    if (y >= 40 && x > 4 && x < kWidth - 5) return c[highlight];
    return c[disp];
  };
  std::string bytes;
  bytes += "BM";
  Put(bytes, 54 + kRow * kHeight, 4);
  Put(bytes, 0, 4);
  Put(bytes, 54, 4);
  Put(bytes, 40, 4);
  Put(bytes, kWidth, 4);
  Put(bytes, kHeight, 4);
  Put(bytes, 1, 2);
  Put(bytes, 24, 2);
  Put(bytes, 0, 4);
  Put(bytes, kRow * kHeight, 4);
  Put(bytes, 2835, 4);
  Put(bytes, 2835, 4);
  Put(bytes, 0, 4);
  Put(bytes, 0, 4);
  for (int y = kHeight - 1; y >= 0; --y) {  // bottom-up
    for (int x = 0; x < kWidth; ++x) {
      const Color color = at(x, y);
      bytes += static_cast<char>(BlueOf(color));
      bytes += static_cast<char>(GreenOf(color));
      bytes += static_cast<char>(RedOf(color));
    }
  }
  return bytes;
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) {
    std::cerr << "cannot write " << path << "\n";
    std::exit(1);
  }
}

void Check(bool ok, const char* what) {
  if (!ok) {
    std::cerr << what << " failed\n";
    std::exit(1);
  }
}

const std::vector<Scheme>& Schemes() {
  static const std::vector<Scheme> schemes{
      {"green",
       "Green Meadow",
       {{disp, MakeColor(34, 68, 34)},
        {border, MakeColor(20, 40, 20)},
        {edt, MakeColor(46, 90, 46)},
        {tp, MakeColor(220, 240, 200)},
        {bgtpl, MakeColor(28, 56, 28)},
        {fgtpl, MakeColor(200, 230, 190)},
        {attn, MakeColor(230, 120, 60)},
        {bright, MakeColor(170, 255, 120)},
        {grey, MakeColor(140, 160, 130)},
        {ltgrey, MakeColor(100, 120, 95)},
        {online, MakeColor(210, 250, 190)},
        {BtFlat, MakeColor(52, 100, 52)},
        {BtOver, MakeColor(70, 130, 70)},
        {BtPush, MakeColor(30, 70, 30)},
        {BtDisabled, MakeColor(80, 90, 80)},
        {displ, MakeColor(24, 48, 24)},
        {chan, MakeColor(26, 52, 30)},
        {console, MakeColor(18, 36, 18)},
        {editfg, MakeColor(230, 245, 220)},
        {highlight, MakeColor(90, 160, 60)},
        {mouseover, MakeColor(60, 120, 50)},
        {MsgNick, MakeColor(150, 230, 120)},
        {MsgMyNick, MakeColor(120, 200, 255)},
        {MsgText, MakeColor(235, 245, 230)},
        {MsgMyText, MakeColor(200, 220, 200)},
        {MsgAction, MakeColor(220, 160, 255)},
        {MsgMyAction, MakeColor(190, 140, 230)},
        {MsgLinks, MakeColor(120, 220, 255)},
        {MsgErrors, MakeColor(255, 90, 70)},
        {MsgServer, MakeColor(150, 170, 150)},
        {MsgTopic, MakeColor(255, 230, 120)},
        {MsgModes, MakeColor(110, 200, 160)},
        {MsgAutoHistory, MakeColor(120, 130, 120)},
        {MsgNotices, MakeColor(255, 190, 90)}},
       false,
       false},
      {"Blue",
       "Deep Blue",
       {{disp, MakeColor(20, 40, 90)},
        {border, MakeColor(10, 20, 60)},
        {edt, MakeColor(35, 60, 120)},
        {tp, MakeColor(210, 225, 255)},
        {bgtpl, MakeColor(25, 45, 100)},
        {fgtpl, MakeColor(190, 205, 250)},
        {attn, MakeColor(250, 110, 90)},
        {bright, MakeColor(130, 200, 255)},
        {grey, MakeColor(120, 130, 160)},
        {ltgrey, MakeColor(90, 100, 130)},
        {online, MakeColor(200, 220, 255)},
        {BtFlat, MakeColor(40, 70, 140)},
        {BtOver, MakeColor(60, 95, 175)},
        {BtPush, MakeColor(20, 45, 100)},
        {BtDisabled, MakeColor(70, 80, 100)},
        {displ, MakeColor(15, 30, 70)},
        {chan, MakeColor(18, 34, 80)},
        {console, MakeColor(12, 22, 55)},
        {editfg, MakeColor(225, 235, 255)},
        {highlight, MakeColor(50, 110, 200)},
        {mouseover, MakeColor(40, 85, 160)},
        {MsgNick, MakeColor(140, 190, 255)},
        {MsgMyNick, MakeColor(255, 200, 120)},
        {MsgText, MakeColor(230, 235, 250)},
        {MsgMyText, MakeColor(190, 200, 230)},
        {MsgAction, MakeColor(230, 150, 255)},
        {MsgMyAction, MakeColor(200, 130, 235)},
        {MsgLinks, MakeColor(100, 230, 255)},
        {MsgErrors, MakeColor(255, 80, 100)},
        {MsgServer, MakeColor(140, 150, 180)},
        {MsgTopic, MakeColor(255, 240, 140)},
        {MsgModes, MakeColor(120, 180, 220)},
        {MsgAutoHistory, MakeColor(110, 115, 140)},
        {MsgNotices, MakeColor(255, 170, 80)}},
       false,
       false},
      {"aqua",
       "Aqua",
       {{disp, MakeColor(0, 90, 100)},
        {border, MakeColor(0, 60, 70)},
        {edt, MakeColor(10, 120, 130)},
        {tp, MakeColor(210, 255, 250)},
        {bgtpl, MakeColor(5, 100, 110)},
        {fgtpl, MakeColor(190, 245, 240)},
        {attn, MakeColor(255, 140, 100)},
        {bright, MakeColor(120, 255, 230)},
        {grey, MakeColor(120, 170, 170)},
        {ltgrey, MakeColor(80, 130, 130)},
        {online, MakeColor(200, 255, 245)},
        {BtFlat, MakeColor(20, 140, 150)},
        {BtOver, MakeColor(40, 170, 180)},
        {BtPush, MakeColor(0, 90, 100)},
        {BtDisabled, MakeColor(70, 110, 110)},
        {displ, MakeColor(0, 70, 80)},
        {chan, MakeColor(0, 75, 85)},
        {console, MakeColor(0, 55, 62)},
        {editfg, MakeColor(220, 255, 252)},
        {highlight, MakeColor(30, 180, 170)},
        {mouseover, MakeColor(20, 150, 150)},
        {MsgNick, MakeColor(100, 255, 220)},
        {MsgMyNick, MakeColor(255, 220, 140)},
        {MsgText, MakeColor(225, 250, 248)},
        {MsgMyText, MakeColor(185, 225, 220)},
        {MsgAction, MakeColor(240, 170, 255)},
        {MsgMyAction, MakeColor(210, 150, 240)},
        {MsgLinks, MakeColor(140, 210, 255)},
        {MsgErrors, MakeColor(255, 100, 80)},
        {MsgServer, MakeColor(130, 180, 175)},
        {MsgTopic, MakeColor(250, 250, 150)},
        {MsgModes, MakeColor(90, 220, 190)},
        {MsgAutoHistory, MakeColor(100, 140, 138)},
        {MsgNotices, MakeColor(255, 180, 110)}},
       false,
       true},
      {"!old",
       "Old Sepia (retired)",
       {{disp, MakeColor(120, 100, 70)},
        {border, MakeColor(80, 65, 45)},
        {edt, MakeColor(150, 125, 90)},
        {tp, MakeColor(250, 235, 205)},
        {bgtpl, MakeColor(130, 110, 80)},
        {fgtpl, MakeColor(240, 225, 195)},
        {attn, MakeColor(200, 90, 50)},
        {bright, MakeColor(255, 220, 150)},
        {grey, MakeColor(170, 160, 140)},
        {ltgrey, MakeColor(140, 130, 115)},
        {online, MakeColor(250, 240, 220)},
        {BtFlat, MakeColor(140, 115, 80)},
        {BtOver, MakeColor(165, 140, 100)},
        {BtPush, MakeColor(100, 80, 55)},
        {BtDisabled, MakeColor(130, 125, 115)},
        {displ, MakeColor(105, 88, 62)},
        {chan, MakeColor(110, 92, 66)},
        {console, MakeColor(90, 75, 52)},
        {editfg, MakeColor(255, 245, 225)},
        {highlight, MakeColor(185, 150, 95)},
        {mouseover, MakeColor(160, 130, 85)},
        {MsgNick, MakeColor(255, 210, 140)},
        {MsgMyNick, MakeColor(230, 190, 255)},
        {MsgText, MakeColor(250, 240, 225)},
        {MsgMyText, MakeColor(225, 210, 190)},
        {MsgAction, MakeColor(255, 160, 200)},
        {MsgMyAction, MakeColor(230, 140, 180)},
        {MsgLinks, MakeColor(170, 220, 255)},
        {MsgErrors, MakeColor(255, 110, 90)},
        {MsgServer, MakeColor(190, 175, 150)},
        {MsgTopic, MakeColor(255, 235, 160)},
        {MsgModes, MakeColor(200, 190, 120)},
        {MsgAutoHistory, MakeColor(150, 140, 125)},
        {MsgNotices, MakeColor(255, 200, 120)}},
       true,
       false},
  };
  return schemes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make-sample-schemes <sample skin folder>\n";
    return 2;
  }
  fs::current_path(argv[1]);
  const fs::path mods = "mods";
  fs::create_directories(mods / "all");
  WriteBytes(mods / "all" / "readme.txt",
             "This folder holds the parts that every color scheme shares.\r\n"
             "It is no scheme itself: Quil Config leaves it out of the scheme list.\r\n");

  const auto files = MakePlatformFileServices();
  Silent silent;
  for (const Scheme& scheme : Schemes()) {
    const fs::path folder = mods / scheme.folder;
    fs::create_directories(folder);
    for (const char* stale : {"colors.dtd", "colors.ini", "colors.dtd.bak", "colors.ini.bak"}) {
      fs::remove(folder / stale);
    }
    WriteBytes(folder / "colors.dtd", DtdLayout(scheme));

    App app(*files, silent, silent, silent);
    app.state.SetWorkDir(files->CurrentDirectory());
    app.state.SetProfileName(kDefaultProfile);
    app.state.SetSchemeName(scheme.folder);
    for (const auto& [entry, color] : scheme.colors) app.colors[entry] = color;

    Check(WriteColorsDtd(app.files, app.state, app.colors).done, "writing colors.dtd");
    Check(WriteColorsIni(app.files, app.state, app.colors).done, "writing colors.ini");
    fs::remove(folder / "colors.dtd.bak");
    fs::remove(folder / "colors.ini.bak");
    fs::copy_file(folder / "colors.dtd", folder / "colors_default.dtd",
                  fs::copy_options::overwrite_existing);
    fs::copy_file(folder / "colors.ini", folder / "colors_default.ini",
                  fs::copy_options::overwrite_existing);
    WriteBytes(folder / "Quil.bmp", Preview(app.colors));
  }
  return 0;
}
