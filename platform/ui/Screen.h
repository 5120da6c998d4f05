// TScreen: the primary screen's size and scale, and the application's forms.
#pragma once

#include "platform/graphics/Types.h"
#include "platform/ui/UITypes.h"

class TCustomForm;

class TScreen {
 public:
  // The primary screen's full size in pixels (not the work area).
  int Width() const;
  int Height() const;
  TRect WorkAreaRect() const;
  // The screens of the desktop, the primary one first, and their bounds in
  // desktop coordinates.
  int MonitorCount() const;
  TRect MonitorBounds(int index) const;
  // A screen's work area: its bounds without the task bar and docked bars.
  TRect MonitorWorkArea(int index) const;
  // The display's scale (1.0 at 96 pixels per inch) and the matching density.
  double Scale() const;
  int PixelsPerInch() const;

  // The forms that exist, in creation order.
  int FormCount() const;
  TCustomForm* Forms(int index) const;
  TCustomForm* ActiveForm() const;

  // A cursor that overrides every control's while it is not crDefault.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);

 private:
  friend class TCustomForm;
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);

  TCursor cursor_ = crDefault;
};

extern TScreen* Screen;
