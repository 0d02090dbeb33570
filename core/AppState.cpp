// The process-wide record and the profile path rules.
#include "core/AppState.h"

#include "base/Text.h"

namespace quil {

std::string_view AppState::SkinName() const {
  const std::string_view dir = WorkDir;
  const std::string_view name = LastComponent(dir, AnsiLeadBytes);
  return name.size() == dir.size() ? std::string_view{} : name;
}

void AppState::SetWorkDir(std::string_view path) {
  WorkDir = Bounded(path, kWorkDirCapacity);
}
void AppState::SetProfileName(std::string_view name) {
  ProfileName = Bounded(name, kNameCapacity);
}
void AppState::SetSchemeName(std::string_view name) {
  SchemeName = Bounded(name, kNameCapacity);
}
void AppState::SetPreviewImagePath(std::string_view path) {
  PreviewImagePath = Bounded(path, kPreviewPathCapacity);
}
void AppState::SetPreviewImageTitle(std::string_view title) {
  PreviewImageTitle = Bounded(title, kPreviewTitleCapacity);
}

bool IsDefaultProfile(std::string_view profileName) {
  return profileName == kDefaultProfile;
}

std::string SiblingProfileFolder(std::string_view skinName, std::string_view profileName) {
  return Format("..\\%s%s%s", {skinName, kProfileInfix, profileName});
}

std::string SkinFolderFromProfile(std::string_view skinName) {
  return Format("..\\%s\\", {skinName});
}

std::string ReaderProfileFolderPath(const AppState& state) {
  return SiblingProfileFolder(state.SkinName(), state.ProfileName) + "\\";
}

std::string ProfileFolderPath(const AppState& state) {
  return IsDefaultProfile(state.ProfileName) ? std::string{} : ReaderProfileFolderPath(state);
}

std::string DirectoryPrefix(const AppState& state) {
  return IsDefaultProfile(state.ProfileName) ? std::string{}
                                             : SkinFolderFromProfile(state.SkinName());
}

std::string AbsoluteProfileFolder(const AppState& state) {
  return state.WorkDir + std::string(kProfileInfix) + state.ProfileName;
}

}  // namespace quil
