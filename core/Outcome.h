// What an operation on the skin's files came to. The readers and writers of the settings and color
// files show nothing and end nothing: they return whether they did what they were asked and each
// step on the way that went wrong, on which file. The dialog tells the user about each step and
// decides whether the program can go on.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace quil {

// A step that went wrong, named by the step and how it failed. The dialog's message table has a
// row for each, in this order, ending with the last one here.
enum class Fault {
  ConfigUnreadable,          // a profile's config.dtd did not open; the defaults are read instead
  DefaultsUnreadable,        // the default plugin's settings did not open either
  VersionUnknown,            // config.dtd names no skin version; it is read from its top
  DefaultsNotCreated,        // the file for the default settings block could not be created
  DefaultPluginUnreadable,   // the default plugin's main.dtd did not open
  DefaultBlockMissing,       // the default plugin's main.dtd holds no default settings block
  DefaultsCutShort,          // writing the default settings block failed part way
  ConfigNotSaved,            // config.dtd was not written; the previous one stands
  ConfigTemplateUnreadable,  // the template just made for config.dtd did not open
  ConfigIncomplete,          // config.dtd could not be written whole; the previous one is back
  SettingsDtdNotSaved,       // config.dtd is saved, the skin's settings.dtd is not
  PluginsLeftOut,            // config.dtd is saved without some plugins (the detail lists them)
  ColorFilesUnreadable,      // neither copy of a scheme's colors.dtd or colors.ini opened
  ColorsDtdTemplateUnreadable,  // colors.dtd has no previous file to rewrite
  ColorsDtdNotSaved,            // colors.dtd was not written; the previous one stands
  ColorsDtdTemplateIncomplete,  // the previous colors.dtd lacks a slot line
  ColorsIniNotSaved,            // colors.ini was not written; the previous one stands
  FolderNotRemoved,  // a folder level of a tree could not be removed (the detail: the error code)
  DescHeld,          // a profile's desc.txt is held by another program (Trillian); not written
  DescNotSaved,      // a profile's desc.txt was not written; the save goes on
  TrillianXmlNotSaved,  // a profile's trillian.xml was not written; the save goes on
  SkinBusy,  // another copy of the utility is writing the skin's files; nothing was written
};

// One step that went wrong: the fault, the file it concerns and, where the fault needs one, a
// detail for the user.
struct FaultReport {
  Fault fault;
  std::string file;
  std::string detail;
};

// Whether the operation did what it was asked, and the steps that went wrong, in order. A done
// operation may still report steps (a notice the user must see).
struct Outcome {
  bool done = true;
  std::vector<FaultReport> faults;

  // Reports a step that went wrong without failing the operation.
  void Report(Fault fault, std::string file = {}, std::string detail = {}) {
    faults.push_back({fault, std::move(file), std::move(detail)});
  }
  // Reports the step that failed the operation.
  Outcome& Fail(Fault fault, std::string file = {}) {
    Report(fault, std::move(file));
    done = false;
    return *this;
  }
  // Takes over the steps of an operation this one ran; its failure fails this one too.
  void Add(Outcome other) {
    for (FaultReport& report : other.faults) faults.push_back(std::move(report));
    done = done && other.done;
  }
};

}  // namespace quil
