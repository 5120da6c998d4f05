// Gallery section "dialogs": a message dialog of every kind with one, two and
// four buttons, with and without the footer strip. Live, a button per kind
// opens one; the answer is printed ("dialog result: N") and shown beneath.
#include <cstdio>
#include <filesystem>
#include <string>

#include "Gallery.h"
#include "controls/Vark.Button.h"
#include "controls/Vark.Dialogs.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/ui/Application.h"
#include "platform/ui/Label.h"

namespace {

struct Kind {
  CMessageType type;
  const char* name;
  const char* text;
};
const Kind kKinds[] = {
    {ctInformation, "information",
     "The map editor of Valdor III Tidemark was not found. Check its name in the list of map "
     "editors."},
    {ctError, "error",
     "Cannot open file \"C:\\Users\\player\\AppData\\Local\\VarkelSoftware\\Valdor III "
     "Launcher\\FolderLocations.txt\". Access is denied."},
    {ctQuestion, "question", "Save the changes to the edition list?"},
    {ctSucess, "success", "The edition table was saved."},
    {ctWarning, "warning", "The game folder looks incomplete. Start the game anyway?"},
    {ctStar, "star", "Valdor III Gold is now your favourite edition."},
};

struct ButtonSet {
  const char* name;
  TMsgDlgButtons buttons;
};
const ButtonSet kButtonSets[] = {
    {"1button", {mbOK}},
    {"2buttons", {mbYes, mbNo}},
    {"4buttons", {mbYes, mbNo, mbCancel, mbHelp}},
};

void WritePictures(const std::filesystem::path& dir) {
  auto& headless = dynamic_cast<vark::HeadlessBackend&>(Application->Backend());
  for (const Kind& kind : kKinds) {
    for (const ButtonSet& set : kButtonSets) {
      for (bool footer : {true, false}) {
        std::filesystem::path file = dir / (std::string("dialog-") + kind.name + "-" + set.name +
                                            (footer ? "-footer" : "-nofooter") + ".png");
        // The dialog is modal: it is photographed, then closed, while it waits.
        headless.OnIdle = [&] {
          TCustomForm* form = Application->ModalForm();
          if (form == nullptr) return;
          SaveFormPicture(*form, file);
          form->SetModalResult(mrCancel);
        };
        VarkDialog("Valdor III Launcher", kind.text, kind.type, set.buttons, cbprCustom, clWindow,
                   footer, 0x00FFA028, false, true);
        headless.OnIdle = nullptr;
      }
    }
  }
}

void PopulateLive(TWinControl& area) {
  TComponent& owner = *area.Owner();
  TLabel& result = owner.Make<TLabel>();
  result.SetParent(&area);
  result.SetBounds(16, 16 + 44 * static_cast<int>(std::size(kKinds)), 280, 17);
  result.SetCaption("Open a dialog");
  int top = 16;
  for (const Kind& kind : kKinds) {
    CButton& open = owner.Make<CButton>();
    open.SetParent(&area);
    open.SetBounds(16, top, 200, 36);
    open.SetText(std::string("Open ") + kind.name);
    open.Font().SetSize(10);
    open.OnClick = [&kind, &result](TObject*) {
      int answer =
          VarkDialog(std::string("Gallery ") + kind.name, kind.text, kind.type, {mbOK, mbCancel},
                     cbprCustom, clWindow, true, 0x00FFA028, false, true);
      std::printf("dialog result: %d\n", answer);
      std::fflush(stdout);
      result.SetCaption("dialog result: " + std::to_string(answer));
    };
    top += 44;
  }
}

const GalleryRegistration kDialogsSection{{"dialogs", WritePictures, PopulateLive}};

}  // namespace
