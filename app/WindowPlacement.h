// What the settings store needs of the main window: its outer width and its
// place on the screen, to save them and to put them back. The main window
// implements it by forwarding to its own Width, Top and Left; tests use a
// plain object, so the store runs without a window.
#pragma once

class WindowPlacement {
 public:
  virtual ~WindowPlacement() = default;

  virtual int Width() const = 0;
  virtual int Top() const = 0;
  virtual int Left() const = 0;
  virtual void SetWidth(int value) = 0;
  virtual void SetTop(int value) = 0;
  virtual void SetLeft(int value) = 0;
};
