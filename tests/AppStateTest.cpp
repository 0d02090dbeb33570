// The profile path rules and the capacities of the application state.
#include <gtest/gtest.h>

#include "core/AppState.h"

namespace quil {
namespace {

TEST(AppState, ProfilePathsFollowTheSkinFolderName) {
  AppState s;
  s.SetWorkDir("C:\\Trillian\\skins\\Blue");
  EXPECT_EQ(s.SkinName(), "Blue");

  s.SetProfileName("(default)");
  EXPECT_TRUE(IsDefaultProfile(s.ProfileName));
  EXPECT_EQ(ProfileFolderPath(s), "");
  EXPECT_EQ(DirectoryPrefix(s), "");
  // The readers form a profile path for "(default)" too.
  EXPECT_EQ(ReaderProfileFolderPath(s), "..\\Blue_profile_(default)\\");

  s.SetProfileName("Work");
  EXPECT_FALSE(IsDefaultProfile(s.ProfileName));
  EXPECT_EQ(ProfileFolderPath(s), "..\\Blue_profile_Work\\");
  EXPECT_EQ(DirectoryPrefix(s), "..\\Blue\\");
  EXPECT_EQ(AbsoluteProfileFolder(s), "C:\\Trillian\\skins\\Blue_profile_Work");

  // The default test is case-sensitive.
  s.SetProfileName("(Default)");
  EXPECT_FALSE(IsDefaultProfile(s.ProfileName));
  EXPECT_EQ(ProfileFolderPath(s), "..\\Blue_profile_(Default)\\");
}

TEST(AppState, TextsAreCutToTheirCapacities) {
  AppState s;
  s.SetWorkDir("C:\\" + std::string(300, 'w'));
  EXPECT_EQ(s.WorkDir.size(), kWorkDirCapacity - 1);
  s.SetProfileName(std::string(300, 'p'));
  EXPECT_EQ(s.ProfileName, std::string(255, 'p'));
  s.SetSchemeName(std::string(256, 's'));
  EXPECT_EQ(s.SchemeName.size(), 255u);
  s.SetPreviewImagePath(std::string(600, 'i'));
  EXPECT_EQ(s.PreviewImagePath.size(), 511u);
  s.SetPreviewImageTitle(std::string(200, 't'));
  EXPECT_EQ(s.PreviewImageTitle.size(), 127u);
  // A folder without a backslash (a bare drive) has no skin name.
  s.SetWorkDir("C:");
  EXPECT_EQ(s.SkinName(), "");
}

}  // namespace
}  // namespace quil
