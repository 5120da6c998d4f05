// What assistive technology (a screen reader) sees of the program: a tree of
// accessible objects, the application at its root, its shown windows below
// it, and in each window the controls that mean something to a user.
//
// Every control answers for itself (TControl::DescribeAccessible); the
// program adds what only it knows (ControlAccessible's setters: a name for a
// control that shows a glyph, rows that form a list). Changes are announced
// to one observer, the platform's bridge (AT-SPI on Linux), which translates
// the tree and the changes into its own protocol and nothing more: a second
// bridge is a second translation of the same interfaces.
//
// A bridge may ask at any time, so asking never changes anything. Doing
// (an action, taking the focus) runs once the event loop is back in control,
// as a click's handler does: the request is answered at once, and a handler
// that opens a modal dialog never runs inside the bridge's own dispatch.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/Types.h"
#include "platform/ui/Set.h"

namespace vark::a11y {

enum class Role : uint8_t {
  None,  // nothing to a user (a decoration, a layout box): its children take its place
  Application,
  Frame,
  Dialog,
  Alert,
  Panel,
  Label,
  PushButton,
  CheckBox,
  List,
  ListItem,
  ProgressBar,
};

enum class State : uint8_t {
  Enabled,
  Visible,
  Showing,  // visible, and so is everything it lies in, on a shown window
  Focusable,
  Focused,  // has the keyboard focus in the active window
  Active,   // a window that is the desktop's active one
  Modal,
  Checkable,
  Checked,
  Indeterminate,
  Selectable,
  Selected,
};
using States = TSet<State, uint16_t>;

// A value within a range (a progress bar's position).
struct Range {
  double minimum = 0;
  double maximum = 0;
  double current = 0;
};

class Accessible;

// How an object stands to another: the one whose text describes it (a note
// beside a check box), and the other way round.
enum class RelationType : uint8_t {
  DescribedBy,
  DescriptionFor,
};

struct Relation {
  RelationType type;
  Accessible* target;
  bool operator==(const Relation&) const = default;
};

// What an object says of itself at this moment.
struct Facts {
  Role role = Role::None;
  std::string name;
  std::string description;
  // The text it shows, where there is more to read than a name (a label's, a
  // message's); empty otherwise.
  std::string text;
  States states;
  std::optional<Range> value;
  // The names of the actions DoAction runs ("click", "toggle", "select").
  std::vector<std::string> actions;
  std::vector<Relation> relations;
};

class Accessible {
 public:
  virtual ~Accessible();
  Accessible(const Accessible&) = delete;
  Accessible& operator=(const Accessible&) = delete;

  virtual Facts Describe() const = 0;
  // The object this one lies in; null for the application.
  virtual Accessible* Parent() const = 0;
  virtual std::vector<Accessible*> Children() const = 0;
  // Where it is on the screen, in screen pixels; empty where it has no place.
  virtual TRect ScreenBounds() const = 0;
  // Runs one of the actions Describe names, once the loop is back in control;
  // false when it has no action by that name.
  virtual bool DoAction(std::string_view action) = 0;
  // Gives it the keyboard focus (once the loop is back in control); false
  // when it cannot take it.
  virtual bool GrabFocus() = 0;

 protected:
  Accessible() = default;
};

// What changed about an object.
enum class Change : uint8_t {
  Focus,        // it took the keyboard focus
  States,       // some of its states may have changed
  Name,         // its name (or text) changed
  Value,        // its value changed
  Children,     // children came or went
  Selection,    // which of its children are selected changed
  Activated,    // a window became the active one
  Deactivated,  // a window stopped being the active one
};

// The platform's bridge, told of every change and of every object that goes.
class Observer {
 public:
  virtual void Changed(Accessible& object, Change change) = 0;
  virtual void Destroyed(Accessible& object) = 0;

 protected:
  ~Observer() = default;
};

// The observer of this application's objects (null: none, and announcing a
// change costs a test of this pointer).
Observer* CurrentObserver();
void SetObserver(Observer* observer);
// Tells the observer, if there is one.
void Announce(Accessible& object, Change change);

// The application: the root of the tree, with the shown windows as children.
Accessible& Root();
// Tells the observer, if there is one, that a window came or went.
void WindowsChanged();
// The object of the form whose window has the backend's handle window
// (uint32_t, as the backend counts them), or null.
Accessible* WindowObject(uint32_t window);

}  // namespace vark::a11y
