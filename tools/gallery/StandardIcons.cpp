// Gallery section "icons": every CStandardIcon at 12, 25, 40 and 60 pixels, on
// a light and on a dark background (the icons are transparent).
#include <filesystem>
#include <string>

#include "Gallery.h"
#include "controls/Vark.StandardIcons.h"
#include "platform/ui/Form.h"
#include "platform/ui/Label.h"

namespace {

constexpr VarkIconType kIcons[] = {ciconCheckmark, ciconError, ciconQuestion, ciconInformation,
                                   ciconWarning,   ciconStar,  ciconNone};
constexpr const char* kNames[] = {"check mark", "error", "question", "information",
                                  "warning",    "star",  "none"};
constexpr int kSizes[] = {12, 25, 40, 60};

// One row per icon: its name, then the icon at each size.
void PlaceIcons(TWinControl& parent, TComponent& owner, TColor textColor) {
  int top = 8;
  for (size_t i = 0; i < std::size(kIcons); ++i) {
    TLabel& name = owner.Make<TLabel>();
    name.SetParent(&parent);
    name.SetCaption(kNames[i]);
    name.SetTransparent(true);
    name.Font().SetColor(textColor);
    name.SetBounds(8, top + 22, 80, 17);
    int left = 96;
    for (int size : kSizes) {
      CStandardIcon& icon = owner.Make<CStandardIcon>();
      icon.SetParent(&parent);
      icon.SetBounds(left, top + (60 - size) / 2, size, size);
      icon.SetIcon(kIcons[i]);
      left += size + 16;
    }
    top += 68;
  }
}

void WritePictures(const std::filesystem::path& dir) {
  struct Page {
    const char* file;
    TColor background, text;
  };
  for (const Page& page :
       {Page{"icons-light.png", clBtnFace, clBlack}, Page{"icons-dark.png", 0x00212121, clWhite}}) {
    auto form = MakeForm<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetPosition(poDesigned);
    form->SetClientWidth(96 + 12 + 25 + 40 + 60 + 4 * 16);
    form->SetClientHeight(8 + 68 * static_cast<int>(std::size(kIcons)));
    form->SetColor(page.background);
    form->Show();
    PlaceIcons(*form, *form, page.text);
    SaveFormPicture(*form, dir / page.file);
  }
}

// Live: the icons at every size; clicking an icon shows the next one.
void PopulateLive(TWinControl& area) {
  TComponent& owner = *area.Owner();
  PlaceIcons(area, owner, clBlack);
  for (TControl* c : area.ControlList()) {
    if (auto* icon = dynamic_cast<CStandardIcon*>(c)) {
      icon->OnClick = [icon](TObject*) {
        icon->SetIcon(static_cast<VarkIconType>((icon->SelectedIcon() + 1) % (ciconNone + 1)));
      };
    }
  }
}

const GalleryRegistration kIconsSection{{"icons", WritePictures, PopulateLive}};

}  // namespace
