// The message table of the faults.
#include "dialog/Outcomes.h"

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

#include "base/Text.h"
#include "core/App.h"
#include "profiles/ProfileFolders.h"

namespace quil {

namespace {

enum class Icon { Information, Error };

// What a message is filled with: nothing, the current folder, the file and the active profile, or
// the fault's detail.
enum class Fill { None, FolderFileProfile, Detail };

struct FaultMessage {
  Fault fault;
  std::string_view text;
  Icon icon;
  Fill fill = Fill::None;
  bool endsProgram = false;
};

constexpr std::string_view kUnrecoverableFileError = "Unrecoverable file error.";

constexpr FaultMessage kFaultMessages[] = {
    {Fault::ConfigUnreadable,
     "Unable to read old configuration file: %s\\%s. \n\n ... reading default file ...\n\nThis "
     "message will go away once you save personal settings to the '%s' profile",
     Icon::Information, Fill::FolderFileProfile},
    {Fault::DefaultsUnreadable, kUnrecoverableFileError, Icon::Error, Fill::None, true},
    {Fault::VersionUnknown, "Unable to determine version...\nreading config may fail",
     Icon::Information},
    {Fault::DefaultsNotCreated, kUnrecoverableFileError, Icon::Error, Fill::None, true},
    {Fault::DefaultPluginUnreadable, "Unable to open default plugin.", Icon::Error, Fill::None,
     true},
    {Fault::DefaultBlockMissing, "Unable to read configuration from default plugin.", Icon::Error,
     Fill::None, true},
    {Fault::DefaultsCutShort, kUnrecoverableFileError, Icon::Error, Fill::None, true},
    {Fault::ConfigNotSaved, "Unable to save config file", Icon::Error},
    {Fault::ConfigTemplateUnreadable, "Unable to open old config file", Icon::Error},
    {Fault::ConfigIncomplete, "Unable to write a complete file... restoring backup", Icon::Error},
    {Fault::SettingsDtdNotSaved, "Unable to save settings.dtd", Icon::Information},
    {Fault::PluginsLeftOut,
     "These plugins were not enabled: config.dtd cannot name the folder or the variable of each. A "
     "folder name may hold ASCII characters other than %% and #, a variable ASCII letters, digits, "
     "\".\", \"-\" and \"_\".\n\n%s",
     Icon::Information, Fill::Detail},
    {Fault::ColorFilesUnreadable, "Unable to find old color configuration files.",
     Icon::Information},
    {Fault::ColorsDtdTemplateUnreadable, "Unable to open old file...\nUnable to save colors.dtd",
     Icon::Error},
    {Fault::ColorsDtdNotSaved, "Unable to save colors.dtd", Icon::Error},
    {Fault::ColorsDtdTemplateIncomplete,
     "Unable to write a complete colors.dtd file... \n(old file probably corrupt)\n...restoring "
     "backup",
     Icon::Error},
    {Fault::ColorsIniNotSaved, "Unable to save colors.ini", Icon::Error},
    {Fault::FolderNotRemoved, "Failed directory removal, error - %d", Icon::Error, Fill::Detail},
    {Fault::DescHeld, kSharingViolationNotice, Icon::Information},
    {Fault::DescNotSaved, kDescNotSaved, Icon::Information},
    {Fault::TrillianXmlNotSaved, kTrillianXmlNotSaved, Icon::Information},
    {Fault::SkinBusy,
     "Another copy of the config utility is saving this skin.\n\nPlease try again in a moment.",
     Icon::Error},
};

// Every fault has its row, in the order of the faults, so a fault finds its row by its value.
constexpr bool EveryFaultInOrder() {
  for (std::size_t i = 0; i < std::size(kFaultMessages); ++i) {
    if (static_cast<std::size_t>(kFaultMessages[i].fault) != i) return false;
  }
  return std::size(kFaultMessages) == static_cast<std::size_t>(Fault::SkinBusy) + 1;
}
static_assert(EveryFaultInOrder());

const FaultMessage& MessageOf(Fault fault) {
  return kFaultMessages[static_cast<std::size_t>(fault)];
}

std::string MessageText(App& app, const FaultMessage& row, const FaultReport& report) {
  switch (row.fill) {
    case Fill::None:
      return std::string(row.text);
    case Fill::FolderFileProfile:
      return Format(row.text, {Bounded(app.files.CurrentDirectory(), kWorkDirCapacity), report.file,
                               app.state.ProfileName});
    case Fill::Detail:
      return Format(row.text, {report.detail});
  }
  return std::string(row.text);
}

}  // namespace

bool ShowOutcome(App& app, const Outcome& outcome) {
  for (const FaultReport& report : outcome.faults) {
    const FaultMessage& row = MessageOf(report.fault);
    const std::string text = MessageText(app, row, report);
    if (row.icon == Icon::Error) {
      app.messages.Failure(text);
    } else {
      app.messages.Notice(text);
    }
    if (row.endsProgram) app.exit.Exit(1);
  }
  return outcome.done;
}

}  // namespace quil
