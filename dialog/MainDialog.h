// The dialog's behaviour, apart from windows and painting: the command-line switches, the start-up
// sequence, Save, Restore, Delete, the web page and close, the commit handling of the profile box
// and the scheme box, and the commands of the three pages. The Win32 shell routes its messages
// here; the tests drive the same functions through the in-memory dialog.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quil {

struct App;
struct AppState;

// The skin's web page, opened by a click on the banner.
inline constexpr std::string_view kSkinWebAddress = "https://quil-skin.example.org/";

// The first argument is taken as a switch only when its ANSI form fits into this many bytes.
inline constexpr std::size_t kSwitchCapacity = 400;

// Sets ShowHidden or RestoreOnStart from the first argument after the program's name ("/showhidden"
// or "/restore", without regard to case); later arguments are never looked at.
void ApplySwitches(AppState& state, const std::vector<std::string>& arguments);

// The dialog's initialisation once its pages exist: the skin folder, the profile box, the scheme
// box's commit handling, the first load of the profile, the profile box's commit handling and,
// with "/restore", Restore. Ends the program with exit status 1 when the current folder is a drive
// root, or when no settings can be read.
void StartUp(App& app);

// The main dialog's buttons.
void Save(App& app);
void Restore(App& app);
void DeleteProfile(App& app);
void OpenWebPage(App& app);
// The close command (the caption's close button, Alt+F4): frees the plugin catalogue and ends the
// dialog with result 0. While a command runs (a close that reaches the dialog through the loop of
// one of its message boxes, or from another program) it is only noted, and carried out when the
// command has ended.
void CloseDialog(App& app);
// A click of a control of the main dialog, by control identifier. It is dropped while another
// command runs.
void MainCommand(App& app, int id);

// The commit handling of the two combo boxes' edit fields, with the candidate name. False when the
// name was refused (the profile name) or its colors could not be read (the scheme): the box then
// shows the active name again.
bool CommitProfile(App& app, std::string_view candidate);
bool CommitScheme(App& app, std::string_view candidate);

// A click of a control of one of the three pages, by control identifier; dropped while another
// command runs.
void PageCommand(App& app, int id);

}  // namespace quil
