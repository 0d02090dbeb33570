// Inputs found by fuzzing the readers and writers, kept as native tests so that every build
// checks them: each once made the code read outside a text or write a wrong file.
#include <gtest/gtest.h>

#include "profiles/ProfileFolders.h"

namespace quil::test {
namespace {

// A title whose first ">" is followed at once by a second one has an empty date part; taking the
// last character of that empty text read outside it.
TEST(FuzzFindings, TitleWithAnEmptyDateStillEndsItsLine) {
  const struct {
    const char* title;
    const char* part;
  } cases[] = {
      {"Quil skin >>\n", "\n"},
      {"Quil skin >>", "\n"},
      {"Quil skin >>version 3>\n", "\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(TitleDatePart(c.title), c.part) << c.title;
}

}  // namespace
}  // namespace quil::test
