// A test on a scratch copy of the sample skin with "(default)" active on the scheme "green", as the
// color readers and writers are tested.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/ScratchSkin.h"

namespace quil::test {

class GreenSchemeTest : public ::testing::Test {
 protected:
  ScratchSkin skin;
  TestApp t;
  App& app = t.app;
  MemoryDialog& dialog = t.dialog;

  void SetUp() override {
    app.state.SetProfileName(kDefaultProfile);
    app.state.SetSchemeName("green");
  }
  // A file of a scheme folder of the skin.
  std::filesystem::path SchemeFile(const std::string& scheme, const std::string& name) {
    return skin / ("mods/" + scheme + "/" + name);
  }
};

}  // namespace quil::test
