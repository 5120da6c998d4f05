// Shared pieces of the toolkit tests: a fixture that installs a fresh headless
// backend, a probe control that logs what happens to it and paints one colour,
// and helpers to build shown forms.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/ui/Application.h"
#include "platform/ui/CustomTransparentControl.h"
#include "platform/ui/Form.h"

namespace vark::test {

// Everything a probe sees, in order: "enter A", "down A 5,5", "click A" ...
using Log = std::vector<std::string>;

// A windowed control that fills itself with one colour and logs its input.
class TProbe : public TCustomControl {
 public:
  TProbe(TComponent* owner, std::string name, TColor fill, Log* log)
      : TCustomControl(owner), tag_(std::move(name)), fill_(fill), log_(log) {
    SetTabStop(true);
  }
  // Paints straight away, as a control's setter would.
  void PaintNow() { Paint(); }
  void SetFill(TColor c) { fill_ = c; }
  // Draws past its own bounds, to check the clip.
  bool overreach = false;
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    Canvas().Brush().SetColor(fill_);
    if (overreach) {
      Canvas().FillRect(Rect(-1000, -1000, 1000, 1000));
    } else {
      Canvas().FillRect(ClientRect());
    }
  }
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
    Add("down " + std::to_string(x) + "," + std::to_string(y));
    TCustomControl::MouseDown(b, s, x, y);
  }
  void MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
    Add("up " + std::to_string(x) + "," + std::to_string(y));
    TCustomControl::MouseUp(b, s, x, y);
  }
  void MouseMove(TShiftState s, int x, int y) override {
    if (logMoves) Add("move " + std::to_string(x) + "," + std::to_string(y));
    TCustomControl::MouseMove(s, x, y);
  }
  void CMMouseEnter() override {
    Add("enter");
    TCustomControl::CMMouseEnter();
  }
  void CMMouseLeave() override {
    Add("leave");
    TCustomControl::CMMouseLeave();
  }
  void DoEnter() override {
    Add("focus");
    TCustomControl::DoEnter();
  }
  void DoExit() override {
    Add("blur");
    TCustomControl::DoExit();
  }
  void KeyDown(uint16_t& key, TShiftState s) override {
    Add("keydown " + std::to_string(key));
    TCustomControl::KeyDown(key, s);
  }
  void KeyPress(char& key) override {
    Add("char " + std::to_string(static_cast<int>(key)));
    TCustomControl::KeyPress(key);
  }

 public:
  void Click() override {
    Add("click");
    TCustomControl::Click();
  }
  bool logMoves = false;

 private:
  void Add(const std::string& what) {
    if (log_ != nullptr) log_->push_back(what + " " + tag_);
  }
  std::string tag_;
  TColor fill_;
  Log* log_;
};

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override { ui = &HeadlessBackend::Install(); }
  void TearDown() override { HeadlessBackend::Install(); }

  // A shown form without a frame (client = window) of the given client size,
  // filled with white.
  std::unique_ptr<TForm> ShownForm(int width = 200, int height = 150,
                                   TFormBorderStyle border = bsNone) {
    auto form = MakeForm<TForm>(nullptr);
    form->SetBorderStyle(border);
    form->SetPosition(poDesigned);
    form->SetLeft(100);
    form->SetTop(100);
    form->SetClientWidth(width);
    form->SetClientHeight(height);
    form->SetColor(clWhite);
    form->Show();
    return form;
  }

  template <class T, class... Args>
  T& Place(TWinControl& parent, TComponent& owner, int l, int t, int w, int h, Args&&... args) {
    T& c = owner.Make<T>(std::forward<Args>(args)...);
    c.SetBounds(l, t, w, h);
    c.SetParent(&parent);
    return c;
  }

  HeadlessBackend* ui = nullptr;
};

}  // namespace vark::test
