// Every flow that writes, with each of its file operations made to fail and, separately, with the
// program stopped there as by a crash, which also loses what was not flushed to the disk. After a
// failure the utility must have said so whenever a file did not get its new content; after a crash
// a fresh start must load every profile; and in both cases every file holds its old or its new
// content, never a mix or a truncation. Then every flow runs with the file of each operation held
// by another program for a moment, over file services that ride out such holds: nothing may show.
// The sweep runs natively: it exercises the portable flows thousands of times, and the Win32 file
// services' part (replacing in one step, refusing read-only files) has its own contract tests.
// Last, Save runs on a real full disk, where creating a file succeeds and writing it fails.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#endif

#include "core/ControlIds.h"
#include "dialog/MainDialog.h"
#include "dialog/SettingsPages.h"
#include "dialog/Turns.h"
#include "files/RetryingFileServices.h"
#include "tests/support/FaultInjector.h"
#include "tests/support/ScratchSkin.h"

#ifndef _WIN32
namespace quil::test {
namespace {

namespace fs = std::filesystem;
using Kind = MemoryDialog::Kind;
using Tree = std::map<std::string, std::string>;

// Files left on the way by a save that did not finish are no settings files. The backups that a
// save promises are: they too must be old or new, never partial.
bool IsTemporary(const fs::path& path) {
  const std::string ext = path.extension().string();
  if (ext == ".bak") {
    const std::string kept = path.stem().string();
    return kept != "config.dtd" && kept != "colors.dtd" && kept != "colors.ini";
  }
  return ext == ".new" || ext == ".def" || ext == ".bad";
}

// The settings files under `root`, or with `all` every file.
Tree Snapshot(const fs::path& root, bool all = false) {
  Tree files;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file() && (all || !IsTemporary(e.path()))) {
      files[fs::relative(e.path(), root).generic_string()] = ScratchSkin::Read(e.path());
    }
  }
  return files;
}

// A dialog over the injector, started on the skin as the user would start it. With `retrying`, the
// dialog's file services ride out brief holds, as the Win32 ones do, sleeping for real.
struct Session {
  explicit Session(FileServices& real, bool retrying = false)
      : injector(real),
        retry(injector, [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }),
        app(retrying ? static_cast<FileServices&>(retry) : injector, dialog, dialog, dialog) {
    app.shell = &shell;
    SetInitialOptionStates(dialog);
    dialog.onCommand = [this](Page page, int id) {
      page == Page::Main ? MainCommand(app, id) : PageCommand(app, id);
    };
    StartUp(app);
  }
  FaultInjector injector;
  RetryingFileServices retry;
  MemoryDialog dialog;
  MemoryShell shell;
  App app;
};

struct Flow {
  const char* name;
  std::function<void(Session&)> prepare;  // before the faults: choices on screen
  std::function<void(Session&)> act;      // the command whose file operations are tested
};

void Save(Session& s) {
  s.dialog.Answer({true});
  s.dialog.Click(Page::Main, kSaveButton);
}

const Flow kFlows[] = {
    {"save default", [](Session& s) { s.dialog.SetChecked(Page::General, kButtonScrollBox, true); },
     Save},
    {"save default with both color files",
     [](Session& s) {
       s.shell.colorAnswers = {MakeColor(1, 2, 3), MakeColor(4, 5, 6)};
       s.dialog.Click(Page::Colors, 1101);
       s.dialog.Click(Page::Colors, 1202);
     },
     Save},
    {"save a new profile", [](Session& s) { s.dialog.Type(Page::Main, kProfileBox, "Fresh"); },
     Save},
    {"save an existing profile",
     [](Session& s) {
       s.dialog.Pick(Page::Main, kProfileBox, 1);  // "Work"
       s.shell.colorAnswers = {MakeColor(7, 8, 9)};
       s.dialog.Click(Page::Colors, 1100);
       s.dialog.SetText(Page::General, kContactTitleEdit, "Changed");
     },
     Save},
    {"restore", [](Session&) {},
     [](Session& s) {
       s.dialog.Answer({true});
       s.dialog.Click(Page::Main, kRestoreButton);
     }},
    {"delete a profile", [](Session& s) { s.dialog.Pick(Page::Main, kProfileBox, 1); },
     [](Session& s) {
       s.dialog.Answer({true});
       s.dialog.Click(Page::Main, kDeleteProfileButton);
     }},
    {"hide a scheme", [](Session& s) { s.dialog.Pick(Page::Colors, kSchemeBox, 0); },
     [](Session& s) {
       s.dialog.Answer({true});
       s.dialog.Click(Page::Colors, kHideSchemeButton);
     }},
    {"delete a scheme", [](Session& s) { s.dialog.Pick(Page::Colors, kSchemeBox, 0); },
     [](Session& s) {
       s.dialog.Answer({true});
       s.dialog.Click(Page::Colors, kDeleteSchemeButton);
     }},
    {"hide plugins",
     [](Session& s) {
       s.dialog.SelectListLine(Page::Plugins, kPluginList, 0, true);
       s.dialog.SelectListLine(Page::Plugins, kPluginList, 2, true);
     },
     [](Session& s) {
       s.dialog.Answer({true, true});
       s.dialog.Click(Page::Plugins, kHidePluginsButton);
     }},
    {"delete plugins",
     [](Session& s) {
       s.dialog.SelectListLine(Page::Plugins, kPluginList, 1, true);
       s.dialog.SelectListLine(Page::Plugins, kPluginList, 3, true);
     },
     [](Session& s) {
       s.dialog.Answer({true, true});
       s.dialog.Click(Page::Plugins, kDeletePluginsButton);
     }},
};

class FaultInjection : public ::testing::TestWithParam<std::size_t> {
 protected:
  void SetUp() override {
    // The skin as a user has it: a saved profile "Work" and an edited scheme file, so that Save,
    // Delete and Restore all change something.
    auto files = MakePlatformFileServices();
    Session setup(*files);
    setup.dialog.Type(Page::Main, kProfileBox, "Work");
    Save(setup);
    setup.dialog.Pick(Page::Main, kProfileBox, 0);
    ScratchSkin::Write(skin / "mods/aqua/colors.ini", "edited by hand\r\n");
    pristine_ =
        skin.skinsFolder().parent_path() / (skin.skinsFolder().filename().string() + "-pristine");
    fs::copy(skin.skinsFolder(), pristine_, fs::copy_options::recursive);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(pristine_, ignored);
  }
  void Reset() {
    fs::current_path(pristine_);
    fs::remove_all(skin.skinsFolder());
    fs::copy(pristine_, skin.skinsFolder(), fs::copy_options::recursive);
    fs::current_path(skin.skinFolder());
  }
  // Runs the flow with the injector armed; false when the program stopped (crash or exit 1).
  bool Run(const Flow& flow, FaultInjector::Mode mode, int at, Session*& out,
           std::unique_ptr<Session>& holder) {
    Reset();
    holder = std::make_unique<Session>(*files_);
    out = holder.get();
    flow.prepare(*holder);
    holder->dialog.messages.clear();
    holder->injector.Arm(mode, at);
    try {
      flow.act(*holder);
    } catch (const Crashed&) {
      return false;
    } catch (const ProgramEnded&) {
      return false;
    }
    return true;
  }
  // Runs the flow over file services that ride out holds, with the file of operation `at` held:
  // for three failed attempts when `at` is odd, for 30 ms when it is even.
  void RunHeld(const Flow& flow, int at, std::unique_ptr<Session>& holder) {
    Reset();
    holder = std::make_unique<Session>(*files_, true);
    flow.prepare(*holder);
    holder->dialog.messages.clear();
    if (at % 2 == 1) {
      holder->injector.ArmHold(at, 3);
    } else {
      holder->injector.ArmHold(at, std::chrono::milliseconds(30));
    }
    flow.act(*holder);
  }

  ScratchSkin skin;
  std::unique_ptr<FileServices> files_ = MakePlatformFileServices();
  fs::path pristine_;
};

// Every file holds its content from before or from after the flow; a missing file is a value too.
void ExpectOldOrNew(const Tree& before, const Tree& after, const Tree& now,
                    const std::string& where) {
  std::set<std::string> names;
  for (const Tree* t : {&before, &after, &now}) {
    for (const auto& [name, bytes] : *t) names.insert(name);
  }
  for (const std::string& name : names) {
    const auto value = [&](const Tree& t) -> std::optional<std::string> {
      const auto it = t.find(name);
      return it == t.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
    const auto current = value(now);
    EXPECT_TRUE(current == value(before) || current == value(after)) << where << ": " << name;
  }
}

TEST_P(FaultInjection, EveryFileIsOldOrNewAndEveryFailureIsReported) {
  const Flow& flow = kFlows[GetParam()];
  const Tree before = Snapshot(pristine_);
  Session* s = nullptr;
  std::unique_ptr<Session> holder;
  ASSERT_TRUE(Run(flow, FaultInjector::Mode::Count, 0, s, holder));
  const int operations = s->injector.operations();
  const Tree after = Snapshot(skin.skinsFolder());
  ASSERT_NE(before, after) << "the flow changed nothing";
  ASSERT_GT(operations, 0);

  for (int k = 1; k <= operations; ++k) {
    const std::string where = std::string(flow.name) + ", operation " + std::to_string(k);
    // The k-th operation fails.
    Run(flow, FaultInjector::Mode::Fail, k, s, holder);
    const Tree failed = Snapshot(skin.skinsFolder());
    ExpectOldOrNew(before, after, failed, where + " failing");
    bool reported = false;
    for (const auto& m : s->dialog.messages) {
      reported = reported || m.kind == Kind::Failure || m.kind == Kind::Notice;
    }
    if (failed != after) {
      EXPECT_TRUE(reported) << where << " failed silently";
    }
    holder.reset();

    // The program stops at the k-th operation; a fresh start must load every profile.
    Run(flow, FaultInjector::Mode::Crash, k, s, holder);
    holder.reset();
    ExpectOldOrNew(before, after, Snapshot(skin.skinsFolder()), where + " crashing");
    EXPECT_TRUE(files_->Lock(std::string(kSkinLockFile))) << where << " crashing: still locked";
    try {
      Session fresh(*files_);
      const int profiles = fresh.dialog.ListLineCount(Page::Main, kProfileBox);
      for (int p = 0; p < profiles; ++p) fresh.dialog.Pick(Page::Main, kProfileBox, p);
      for (const auto& m : fresh.dialog.messages) {
        EXPECT_NE(m.kind, Kind::Failure) << where << " crashing, then: " << m.text;
      }
    } catch (const ProgramEnded&) {
      ADD_FAILURE() << where << " crashing: the next start ended the program";
    }
  }
  RecordProperty("InjectionPoints", 2 * operations);
  std::printf("fault injection, %s: %d injection points\n", flow.name, 2 * operations);
}

// Another program holds a file for a moment, as a virus scanner or the search indexer holds a file
// it has just seen written: whichever file of the flow it is, the flow ends as without the hold,
// with every file written and nothing said.
TEST_P(FaultInjection, BriefHoldsPassUnnoticed) {
  const Flow& flow = kFlows[GetParam()];
  Session* s = nullptr;
  std::unique_ptr<Session> holder;
  ASSERT_TRUE(Run(flow, FaultInjector::Mode::Count, 0, s, holder));
  const int operations = s->injector.operations();
  const Tree after = Snapshot(skin.skinsFolder(), true);
  int held = 0;
  for (int k = 1; k <= operations; ++k) {
    const std::string where = std::string(flow.name) + ", operation " + std::to_string(k);
    try {
      RunHeld(flow, k, holder);
    } catch (const ProgramEnded&) {
      ADD_FAILURE() << where << " held: the program ended";
      continue;
    }
    if (!holder->injector.fired()) continue;  // an operation on no file of its own
    ++held;
    for (const auto& m : holder->dialog.messages) {
      EXPECT_EQ(m.kind, Kind::Question) << where << " held: " << m.text;
    }
    EXPECT_TRUE(Snapshot(skin.skinsFolder(), true) == after) << where << " held: files differ";
  }
  EXPECT_GT(held, 0);
}

// Another copy of the utility is saving the same skin and holds its lock. Save waits for it and
// then writes everything without a word; a lock still held after the wait writes nothing, says
// why, and keeps what the pages show for another try.
TEST(SkinLock, SaveWaitsForAnotherCopyAndGivesUpOnlyAfterTheWait) {
  ScratchSkin skin;
  for (const bool letGo : {true, false}) {
    SCOPED_TRACE(letGo ? "the other copy lets go during the wait" : "held past the wait");
    const auto otherCopy = MakePlatformFileServices();
    auto held = otherCopy->Lock(std::string(kSkinLockFile));
    ASSERT_TRUE(held);
    int waited = 0;
    TestApp t(std::make_unique<RetryingFileServices>(MakePlatformFileServices(), [&](int ms) {
      waited += ms;
      if (letGo && waited >= 2000) held.reset();
    }));
    SetInitialOptionStates(t.dialog);
    t.dialog.onCommand = [&](Page page, int id) {
      page == Page::Main ? MainCommand(t.app, id) : PageCommand(t.app, id);
    };
    StartUp(t.app);
    const std::string config = ScratchSkin::Read(skin / "config.dtd");
    const bool scroll = !t.dialog.IsChecked(Page::General, kButtonScrollBox);
    t.dialog.SetChecked(Page::General, kButtonScrollBox, scroll);
    t.dialog.messages.clear();
    t.dialog.Answer({true});
    t.dialog.Click(Page::Main, kSaveButton);
    if (letGo) {
      EXPECT_EQ(t.dialog.messages.size(), 1u) << t.dialog.messages.back().text;
      EXPECT_NE(ScratchSkin::Read(skin / "config.dtd"), config);
      EXPECT_GE(waited, 2000);
    } else {
      ASSERT_EQ(t.dialog.messages.size(), 2u);
      EXPECT_EQ(t.dialog.messages[1].kind, Kind::Failure);
      EXPECT_EQ(t.dialog.messages[1].text,
                "Another copy of the config utility is saving this skin.\n\nPlease try again in "
                "a moment.");
      EXPECT_EQ(ScratchSkin::Read(skin / "config.dtd"), config);
      EXPECT_GE(waited, RetryingFileServices::kLockWaitMs);
      EXPECT_EQ(t.dialog.IsChecked(Page::General, kButtonScrollBox), scroll);
    }
    held.reset();
    EXPECT_FALSE(fs::exists(skin / std::string(kSkinLockFile)));
  }
}

INSTANTIATE_TEST_SUITE_P(Flows, FaultInjection, ::testing::Range<std::size_t>(0, std::size(kFlows)),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                           std::string name = kFlows[info.param].name;
                           for (char& c : name) {
                             if (c == ' ') c = '_';
                           }
                           return name;
                         });

// A small file system of its own, mounted for one test and unmounted whatever happens.
class SmallFileSystem {
 public:
  SmallFileSystem() {
    std::string folder = (fs::temp_directory_path() / "quil-full-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
      error_ = std::strerror(errno);
      return;
    }
    folder_ = folder;
    if (::mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=4m") != 0) {
      error_ = std::strerror(errno);
      return;
    }
    mounted_ = true;
  }
  ~SmallFileSystem() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    std::error_code ignored;
    if (!folder_.empty()) fs::remove(folder_, ignored);
  }
  bool mounted() const { return mounted_; }
  const std::string& error() const { return error_; }
  const fs::path& folder() const { return folder_; }

  // Writes a filler file until not one more byte fits.
  void Fill() {
    const int fd = ::open((folder_ / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    const std::string block(64 * 1024, 'x');
    for (std::size_t size = block.size(); size > 0; size /= 2) {
      while (::write(fd, block.data(), size) == static_cast<ssize_t>(size)) {
      }
    }
    ::close(fd);
  }
  void Free() { fs::remove(folder_ / "filler"); }

 private:
  fs::path folder_;
  std::string error_;
  bool mounted_ = false;
};

// The sweep's failures are made up; this is the disk itself: a copy creates its target and leaves
// it empty, a write fails part way.
TEST(FullDisk, SaveFailsWithEveryFileWholeAndSucceedsOnceThereIsRoom) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root; not tested";
  SmallFileSystem disk;
  if (!disk.mounted()) GTEST_SKIP() << "no small file system could be mounted: " << disk.error();
  const char* previousTemp = std::getenv("TMPDIR");
  const std::string previous = previousTemp ? previousTemp : "";
  ::setenv("TMPDIR", disk.folder().c_str(), 1);
  {
    ScratchSkin skin;
    previousTemp ? ::setenv("TMPDIR", previous.c_str(), 1) : ::unsetenv("TMPDIR");
    auto files = MakePlatformFileServices();
    Session s(*files);
    s.dialog.SetText(Page::General, kContactTitleEdit, "Full disk");
    s.shell.colorAnswers = {MakeColor(1, 2, 3), MakeColor(4, 5, 6)};
    s.dialog.Click(Page::Colors, 1101);
    s.dialog.Click(Page::Colors, 1202);
    const std::string scheme = s.app.state.SchemeName;
    const Tree before = Snapshot(skin.skinsFolder(), true);
    disk.Fill();

    try {
      Save(s);
    } catch (const ProgramEnded&) {
      FAIL() << "the program ended on a full disk";
    }
    bool failed = false;
    for (const auto& m : s.dialog.messages) {
      failed = failed || (m.kind == Kind::Failure && m.text == "Unable to save config file");
    }
    EXPECT_TRUE(failed) << "no failure message";
    const Tree now = Snapshot(skin.skinsFolder(), true);
    for (const auto& [name, bytes] : now) {
      // A backup holds the old content of its file, or there is none.
      const fs::path path(name);
      const std::string kept =
          path.extension() == ".bak" ? (path.parent_path() / path.stem()).generic_string() : name;
      const auto old = before.find(kept);
      EXPECT_TRUE(old != before.end() && old->second == bytes) << name << " is not the old one";
    }
    for (const auto& [name, bytes] : before) EXPECT_TRUE(now.count(name)) << name << " is gone";
    EXPECT_EQ(s.dialog.At(Page::General, kContactTitleEdit).text, "Full disk");

    disk.Free();
    s.dialog.messages.clear();
    Save(s);
    for (const auto& m : s.dialog.messages) {
      EXPECT_EQ(m.kind, Kind::Question) << m.text;
    }
    const auto read = [&](const std::string& name) { return ScratchSkin::Read(skin / name); };
    EXPECT_NE(read("config.dtd").find("<!ENTITY contactname \"Full disk\">"), std::string::npos);
    for (const std::string& name : {std::string("config.dtd"), "mods/" + scheme + "/colors.dtd",
                                    "mods/" + scheme + "/colors.ini"}) {
      EXPECT_EQ(read(name + ".bak"), before.at("Quil/" + name)) << name;
      EXPECT_NE(read(name), before.at("Quil/" + name)) << name;
    }
    EXPECT_NE(read("mods/" + scheme + "/colors.ini").find("4,5,6"), std::string::npos);
    EXPECT_EQ(Snapshot(skin.skinsFolder(), true).size(), before.size() + 3) << "stray files";
  }
}

}  // namespace
}  // namespace quil::test
#endif
