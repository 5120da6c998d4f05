// A window for the settings store without a window: it holds width, top and
// left and counts how often the store set them.
#pragma once

#include "app/WindowPlacement.h"

namespace vark::testing {

class FakeWindow : public WindowPlacement {
 public:
  FakeWindow(int width = 801, int top = 120, int left = 340)
      : width_(width), top_(top), left_(left) {}

  int Width() const override { return width_; }
  int Top() const override { return top_; }
  int Left() const override { return left_; }
  void SetWidth(int value) override {
    width_ = value;
    ++sets;
  }
  void SetTop(int value) override {
    top_ = value;
    ++sets;
  }
  void SetLeft(int value) override {
    left_ = value;
    ++sets;
  }

  int sets = 0;

 private:
  int width_, top_, left_;
};

}  // namespace vark::testing
