// One thing at a time. A command of the dialog runs to its end before another starts: the message
// boxes and choosers disable the dialog while they are open, and a command that still arrives
// during another (posted by another program, say) is dropped; a close request then waits for the
// running command to end. And one program at a time writes a skin's files: every command that
// writes them holds the skin's lock while it does.
#pragma once

#include <memory>
#include <string_view>

#include "files/FileServices.h"

namespace quil {

struct App;

// The file in the skin's folder that the program writing the skin's files holds; it is deleted
// when the program lets go of it.
inline constexpr std::string_view kSkinLockFile = "QuilConfig.lock";

// The running command's turn, taken for as long as the object lives. No turn is taken while
// another command runs: a click must then not run at all, while a commit of a combo box runs
// within the command that set the box's text.
class CommandTurn {
 public:
  explicit CommandTurn(App& app);
  // Gives the turn back, and carries out a close that was asked for while the command ran.
  ~CommandTurn();
  CommandTurn(const CommandTurn&) = delete;
  CommandTurn& operator=(const CommandTurn&) = delete;

  explicit operator bool() const { return taken_; }

 private:
  App& app_;
  bool taken_;
};

// The skin's lock, held for as long as the object lives. A lock that another copy of the utility
// holds is waited for (the file services bound the wait); one still held after that shows that
// another copy is saving this skin, and the command writes nothing. A skin folder where the lock
// file cannot be made at all (a folder the user may not write to) is not locked: the writes that
// follow report their own failures.
class SkinLock {
 public:
  explicit SkinLock(App& app);

  // False when nothing may be written: another copy of the utility holds the skin.
  explicit operator bool() const { return mayWrite_; }

 private:
  std::unique_ptr<FileLock> lock_;
  bool mayWrite_ = true;
};

}  // namespace quil
