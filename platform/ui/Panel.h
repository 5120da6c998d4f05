// TPanel: a container with an optional bevel and a centred caption. Like the
// classic themed panel, it lets its parent's background show while
// ParentBackground is set (the default) and fills itself with its Color
// otherwise. It takes no tab stop; given the focus by the program, it shows
// the focus rectangle along its edge.
#pragma once

#include "platform/ui/CustomControl.h"

class TPanel : public TCustomControl {
 public:
  explicit TPanel(TComponent* AOwner);

  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut value);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool value);

 protected:
  void Paint() override;
  void DoEnter() override;
  void DoExit() override;
  void TextChanged() override { Invalidate(); }
  // A panel, named by its caption; without one, nothing of its own.
  void DescribeAccessible(vark::a11y::Facts& facts) const override;

 private:
  TBevelCut bevelOuter_ = bvRaised;
  TBevelCut bevelInner_ = bvNone;
  int bevelWidth_ = 1;
  TAlignment alignment_ = taCenter;
  bool showCaption_ = true;
};
