// Shared pieces of the main-window tests: a fixture that gives every test a
// fresh headless backend, a throw-away profile (HOME and the XDG folders) and a
// current folder of its own, with the module state as at program start; and a
// catcher for the modal dialogs and error reports the window opens.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ValdorLaunch.Store.h"
#include "app/ValdorLaunch.h"
#include "controls/Vark.Button.h"
#include "controls/Vark.StandardIcons.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/ui/Application.h"
#include "platform/ui/Label.h"
#include "tests/common/TempProfile.h"

namespace vark::test {

// A modal window the launcher opened: its title and its message.
struct SeenDialog {
  std::string caption;
  std::string text;
  std::vector<std::string> buttons;  // the captions of its CButtons
};

inline std::vector<std::string> ButtonTexts(const TWinControl& form) {
  std::vector<std::string> texts;
  for (TControl* c : form.ControlList())
    if (auto* b = dynamic_cast<CButton*>(c)) texts.push_back(b->Text());
  return texts;
}

// The message of a modal window: its word-wrapped label, else its longest one.
inline std::string MessageOf(const TWinControl& form) {
  std::string best;
  for (TControl* c : form.ControlList()) {
    if (auto* l = dynamic_cast<TLabel*>(c)) {
      if (l->WordWrap()) return l->Caption();
      if (l->Caption().size() > best.size()) best = l->Caption();
    }
  }
  return best;
}

class LauncherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui = &HeadlessBackend::Install();
    RestoreStartState();
    RestoreAnimationStartState();
    profile = std::make_unique<testing::TempProfile>();
    games = profile->Root() + "/games";
    std::filesystem::create_directories(testing::PathOf(games + "/launcher"));
    oldDir = std::filesystem::current_path();
    std::filesystem::current_path(testing::PathOf(games + "/launcher"));
    data = profile->DataHome() + "/VarkelSoftware/Valdor III Launcher/";
    // Dialogs are answered as they come; a test that expects none checks
    // that the list stays empty.
    ui->OnIdle = [this] { AnswerDialog(); };
  }

  void TearDown() override {
    ui->OnIdle = nullptr;
    form.reset();
    HeadlessBackend::Install();
    std::filesystem::current_path(oldDir);
    RestoreStartState();
    RestoreAnimationStartState();
    profile.reset();
  }

  // Makes and shows the main window as the program does.
  TForm1& Open() {
    form = MakeForm<TForm1>(nullptr);
    form->Show();
    return *form;
  }

  // The rows whose mark shows the star.
  std::vector<int> StarredRows() const {
    std::vector<int> rows;
    for (int i = 0; i < 8; ++i)
      if (form->Marks()[i]->SelectedIcon() == ciconStar) rows.push_back(i + 1);
    return rows;
  }

  // Writes a file of the launcher's data folder.
  void PutData(const std::string& name, const std::string& bytes) {
    testing::WriteBytes(data + name, bytes);
  }
  std::string GetData(const std::string& name) const { return testing::ReadBytes(data + name); }

  // What to do with the next modal window: by default its "Ok" button (or, for
  // a framework message box, a close) answers it.
  void AnswerDialog() {
    TCustomForm* modal = Application->ModalForm();
    if (modal == nullptr) return;
    if (onDialog && !onDialog(*modal)) return;
    dialogs.push_back({modal->Caption(), MessageOf(*modal), ButtonTexts(*modal)});
    for (TControl* c : modal->ControlList()) {
      if (auto* b = dynamic_cast<CButton*>(c); b != nullptr && b->Text() == "Ok") {
        ui->click(*b);
        return;
      }
    }
    modal->Close();
  }

  HeadlessBackend* ui = nullptr;
  std::unique_ptr<testing::TempProfile> profile;
  std::filesystem::path oldDir;
  std::string games;  // holds the launcher's current folder "launcher" and the editions
  std::string data;   // the launcher's data folder, ending in "/"
  std::unique_ptr<TForm1> form;
  std::vector<SeenDialog> dialogs;
  // Runs for a modal window before it is answered; returning false leaves it
  // open for now.
  std::function<bool(TCustomForm&)> onDialog;
};

}  // namespace vark::test
