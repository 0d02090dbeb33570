// The narrow ports through which the portable core reaches the dialog, the message boxes and the
// end of the program. The Win32 shell implements them with real windows; the tests implement them
// with an in-memory dialog that behaves like the real controls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace quil {

// The window a control lives on: the main dialog or one of the three settings pages.
enum class Page { Main, General, Colors, Plugins };

// Text read back from a control goes into a buffer of this many bytes: at most 399 characters.
inline constexpr std::size_t kControlTextCapacity = 400;

// Controls addressed by their page and identifier.
class DialogControls {
 public:
  virtual ~DialogControls() = default;

  // Sets a control's text. On the two combo boxes (the profile box and the scheme box) this runs
  // the box's commit handling with the new text before the text is stored, as the edit field's
  // replaced window procedure does on Windows; a text that the handling refuses is not stored.
  virtual void SetText(Page page, int id, std::string_view text) = 0;
  // The control's text as read into a buffer of `capacity` bytes (at most capacity - 1 bytes).
  virtual std::string GetText(Page page, int id, std::size_t capacity = kControlTextCapacity) = 0;

  // Check boxes and radio buttons.
  virtual void SetChecked(Page page, int id, bool checked) = 0;
  virtual bool IsChecked(Page page, int id) = 0;

  // The lists of the combo boxes and of the plugin list box.
  virtual void ClearList(Page page, int id) = 0;
  // Adds a line; a sorted combo box puts it in place without regard to case. Returns its index.
  virtual int AddListLine(Page page, int id, std::string_view text) = 0;
  virtual void DeleteListLine(Page page, int id, int index) = 0;
  virtual int ListLineCount(Page page, int id) = 0;
  virtual std::string ListLine(Page page, int id, int index) = 0;
  virtual bool IsListLineSelected(Page page, int id, int index) = 0;
  virtual void SelectListLine(Page page, int id, int index, bool selected) = 0;

  // Shows or hides a control.
  virtual void Show(Page page, int id, bool visible) = 0;
  // Gives a control the keyboard focus.
  virtual void Focus(Page page, int id) = 0;
  // Makes `commit` the commit handling of a combo box's edit field (the profile box or the scheme
  // box): it runs with the candidate name on set-text (before the text is stored), when the field
  // loses the focus and when Enter is released in it. It returns false when the name did not
  // become the active one, after it has put the active name back into the box; a refused set-text
  // then stores nothing, so the box shows the active name however the text arrived.
  using CommitHandler = std::function<bool(std::string_view candidate)>;
  virtual void SetCommitHandler(Page page, int id, CommitHandler commit) = 0;
  // Switches the redrawing of a list (a combo box's or the plugin list) off before it is filled
  // line by line, and back on after, when the list is redrawn once. Nothing to do where nothing
  // is drawn.
  virtual void SetListRedraw(Page /*page*/, int /*id*/, bool /*redraw*/) {}
  // Redraws a control at once (invalidate, erase, update).
  virtual void RedrawControl(Page page, int id) = 0;
  // Redraws the main dialog with its pages at once.
  virtual void RedrawMain() = 0;
  // Ends the dialog with result 0, once the message that is being handled has been.
  virtual void EndDialog() = 0;
};

// Message boxes without an owner window, always with the caption "Quil Config". A box disables the
// dialog while it is open (task-modal), so that no other command can start under it.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // OK, information icon.
  virtual void Notice(std::string_view text) = 0;
  // OK, error icon.
  virtual void Failure(std::string_view text) = 0;
  // Yes and No, question icon, No the default. True when the user answers Yes.
  virtual bool Ask(std::string_view text) = 0;
  // OK, no icon.
  virtual void Plain(std::string_view text) = 0;
};

// The shell and the common dialogs: opening a document or web address with its default action, the
// color chooser and the image chooser.
class Shell {
 public:
  virtual ~Shell() = default;
  // Opens a web address or a file with its default action, showing normally; the result is not
  // examined.
  virtual void Open(std::string_view target) = 0;
  // The choosers are owned by the main dialog, which takes no input while one is open.
  // Runs the color chooser, full open with any color, starting from `color`, with the 16 colors at
  // `customColors` as its custom colors (the chooser changes them in place when the user does).
  // Returns the chooser's current color when it closes: after Cancel, `color` itself.
  virtual std::uint32_t ChooseColor(std::uint32_t color, std::uint32_t* customColors) = 0;
  // Runs the image chooser ("Select image..."). True when the user picked a file: `path` then holds
  // its full path and `title` its name.
  virtual bool ChooseImage(std::string& path, std::string& title) = 0;
};

// Ends the program after an unrecoverable failure. The Win32 shell ends the process; the tests
// observe the status.
class ProgramExit {
 public:
  virtual ~ProgramExit() = default;
  [[noreturn]] virtual void Exit(int status) = 0;
};

}  // namespace quil
