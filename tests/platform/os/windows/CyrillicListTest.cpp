// Lists on a Windows set up for Cyrillic, whose "ANSI" code page is 1251:
// what Notepad saves as "ANSI" there is read as such, and written back so.
// Wine takes the code page from the locale it runs in, which the build gives
// these tests from the line below.
//
// Wine locale: ru_RU.UTF-8
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/os/TextFile.h"
#include "platform/os/windows/Win32.h"
#include "tests/platform/os/windows/ScratchFolder.h"

using vark::os::ReadTextLines;
using vark::os::WriteTextLines;
using vark::testing::ReadBytes;
using vark::testing::WriteBytes;
using Lines = std::vector<std::string>;

namespace {

class CyrillicWindows : public vark::testing::ScratchFolder {};

TEST_F(CyrillicWindows, ListsWithoutAMarkAreInTheSystemsCodePage) {
  ASSERT_EQ(GetACP(), 1251u) << "Wine does not run in the locale of the file's head";
  const std::string list = At("MapNames.txt");
  WriteBytes(list, "\xCA\xE0\xF0\xF2\xE0\r\n");
  EXPECT_EQ(ReadTextLines(list), Lines{"Карта"});

  WriteTextLines(list, Lines{"Карта", "Жёлтый"});
  EXPECT_EQ(ReadBytes(list), "\xCA\xE0\xF0\xF2\xE0\r\n\xC6\xB8\xEB\xF2\xFB\xE9\r\n");
  // "é" is not in 1251, and no look-alike stands in for it.
  const Lines mixed = {"Карта", "Émeraude"};
  WriteTextLines(list, mixed);
  EXPECT_EQ(ReadBytes(list).substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(ReadTextLines(list), mixed);
}

}  // namespace
