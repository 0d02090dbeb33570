// QuilConfig.exe carries its application manifest, read back the way Windows reads it when the
// program starts: as the activation context of the program's manifest resource. A manifest that is
// missing or does not parse leaves the context uncreated (and Windows would refuse to start the
// program); a parsed one must declare the DPI awareness, list the supported versions of Windows and
// ask for no execution level.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "files/win32/Win32.h"

namespace quil::test {
namespace {

constexpr const wchar_t* kSettings2005 = L"http://schemas.microsoft.com/SMI/2005/WindowsSettings";
constexpr const wchar_t* kSettings2016 = L"http://schemas.microsoft.com/SMI/2016/WindowsSettings";
// The identifier that stands for Windows 10 and 11 in a manifest's list of supported versions.
constexpr GUID kWindows10{
    0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}};

std::wstring Setting(HANDLE context, const wchar_t* space, const wchar_t* name) {
  std::wstring value(256, L'\0');
  SIZE_T written = 0;
  if (!QueryActCtxSettingsW(0, context, space, name, value.data(), value.size(), &written)) {
    return L"(not set)";
  }
  value.resize(written > 0 ? written - 1 : 0);  // the count includes the terminating NUL
  return value;
}

TEST(ProgramManifest, DeclaresDpiAwarenessSupportedWindowsAndNoExecutionLevel) {
  const std::string exe = QUIL_QUILCONFIG_EXE;
  ACTCTXA request{};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = exe.c_str();
  request.lpResourceName = MAKEINTRESOURCEA(1);  // the manifest Windows reads at process start
  const HANDLE context = CreateActCtxA(&request);
  ASSERT_NE(context, INVALID_HANDLE_VALUE)
      << "no manifest resource that parses in " << exe << " (error " << GetLastError() << ")";

  EXPECT_EQ(Setting(context, kSettings2005, L"dpiAware"), L"true");
  EXPECT_EQ(Setting(context, kSettings2016, L"dpiAwareness"), L"PerMonitorV2, System");

  ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel{};
  ASSERT_TRUE(QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &runLevel,
                           sizeof runLevel, nullptr));
  EXPECT_EQ(runLevel.RunLevel, ACTCTX_RUN_LEVEL_UNSPECIFIED)
      << "an execution level would end the redirection of writes into protected folders";

  // A count of entries and the entries, whose size differs between versions of Windows: the
  // identifier is looked for among the bytes.
  std::vector<char> buffer(4096);
  SIZE_T needed = 0;
  ASSERT_TRUE(QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext,
                           buffer.data(), buffer.size(), &needed));
  EXPECT_EQ(reinterpret_cast<const DWORD&>(buffer[0]), 5u) << "Windows Vista, 7, 8, 8.1 and 10";
  const auto* id = reinterpret_cast<const char*>(&kWindows10);
  const auto end =
      buffer.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(needed, buffer.size()));
  EXPECT_NE(std::search(buffer.begin(), end, id, id + sizeof kWindows10), end)
      << "Windows 10 is not among the supported versions";
  ReleaseActCtx(context);
}

}  // namespace
}  // namespace quil::test
