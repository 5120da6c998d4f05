#include "platform/os/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, SplitsAsAWindowsProgramWould) {
  const struct {
    const char* params;
    Args expected;
  } cases[] = {
      {"", {}},
      {"   \t ", {}},
      {"/tarnwisp", {"/tarnwisp"}},
      {"  /tarnwisp  ", {"/tarnwisp"}},
      {"a  b\tc", {"a", "b", "c"}},
      {R"("C:\Games\Valdor III\vtide HD.exe" -w)", {R"(C:\Games\Valdor III\vtide HD.exe)", "-w"}},
      {R"(a"b c"d)", {"ab cd"}},  // quotes may sit inside an argument
      {R"("")", {""}},
      {R"(a "" b)", {"a", "", "b"}},
      {R"("say ""hi""")", {R"(say "hi")"}},
      {R"(C:\path\)", {R"(C:\path\)"}},  // backslashes without a quote are literal
      {R"(a\"b)", {R"(a"b)"}},           // an odd backslash escapes the quote
      {R"(a\\"b c")", {R"(a\b c)"}},     // an even run halves, the quote delimits
      {R"(a\\\"b)", {R"(a\"b)"}},
      {R"("unterminated quote)", {"unterminated quote"}},
      {"$(rm -rf x); echo | y & `z`", {"$(rm", "-rf", "x);", "echo", "|", "y", "&", "`z`"}},
      {"héllo wörld", {"héllo", "wörld"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(vark::os::SplitCommandLine(c.params), c.expected) << c.params;
}

}  // namespace
