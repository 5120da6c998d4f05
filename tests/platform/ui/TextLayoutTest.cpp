// Laying out captions, and the rectangle lists the painter keeps.
#include <gtest/gtest.h>

#include "platform/ui/FormWindow.h"
#include "platform/ui/TextLayout.h"

namespace {

using vark::ui::LayoutText;
using vark::ui::RectList;
using vark::ui::StripAccelChars;

TEST(TextLayout, AcceleratorMarksAreRemovedAndDoubledOnesKept) {
  struct Case {
    const char* in;
    const char* out;
  };
  for (Case c : {Case{"&File", "File"}, Case{"Save && Exit", "Save & Exit"}, Case{"&", ""},
                 Case{"tail&", "tail"}, Case{"&&&x", "&x"}, Case{"plain", "plain"}}) {
    EXPECT_EQ(StripAccelChars(c.in), c.out) << c.in;
  }
}

TEST(TextLayout, WordWrapBreaksAtSpacesAndKeepsLongWordsWhole) {
  TCanvas c;
  int word = c.TextWidth("word");
  int space = c.TextWidth("word word") - 2 * word;
  // Room for two words on a line.
  int width = 2 * word + space;
  auto block = LayoutText(c, "word word word   word", width, true);
  EXPECT_EQ(block.lines, (std::vector<std::string>{"word word", "word word"}));
  EXPECT_EQ(block.height, 2 * block.lineHeight);
  block = LayoutText(c, "a incomprehensibilities b", c.TextWidth("a b"), true);
  EXPECT_EQ(block.lines, (std::vector<std::string>{"a", "incomprehensibilities", "b"}));
  EXPECT_EQ(block.width, c.TextWidth("incomprehensibilities"));
  block = LayoutText(c, "one\r\ntwo\nthree", 10000, false);
  EXPECT_EQ(block.lines, (std::vector<std::string>{"one", "two", "three"}));
  block = LayoutText(c, "", 100, true);
  EXPECT_EQ(block.lines.size(), 1u);
}

TEST(RectList, TouchingRectanglesMergeAndManyCollapse) {
  RectList list;
  list.Add(Rect(0, 0, 10, 10));
  list.Add(Rect(10, 0, 20, 10));  // edge to edge: one rectangle
  ASSERT_EQ(list.Rects().size(), 1u);
  EXPECT_EQ(list.Rects()[0], Rect(0, 0, 20, 10));
  list.Add(Rect(100, 100, 110, 110));  // apart: kept apart
  EXPECT_EQ(list.Rects().size(), 2u);
  list.Add(Rect(5, 5, 5, 50));  // empty: ignored
  EXPECT_EQ(list.Rects().size(), 2u);
  for (int i = 0; i < 10; ++i) {
    list.Add(Bounds(300 + 20 * i, 300, 5, 5));
    EXPECT_LE(list.Rects().size(), 8u);  // never a long list to paint
  }
  EXPECT_EQ(list.Bounds(), Rect(0, 0, 485, 305));  // nothing lost
}

}  // namespace
