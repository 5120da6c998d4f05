// The ATK objects that show the program's accessible objects: one GObject
// instance per object, of a type of ours that implements the ATK interfaces
// the object calls for (component, action, value, text, selection, window).
// Every answer is asked of the accessible object at the moment ATK asks.
#pragma once

#include <atk/atk.h>

#include <span>
#include <utility>

#include "platform/ui/a11y/Accessible.h"

namespace vark::a11y::atspi {

class AtspiBridge;

struct VarkAtkObject {
  AtkObject parent;
  Accessible* node;  // null once the object it shows is gone (then it is defunct)
  AtspiBridge* bridge;
  // The strings handed out last; ATK's callers do not free them.
  gchar* name;
  gchar* description;
};

VarkAtkObject* AsVark(AtkObject* object);

// A new object (one reference, the caller's) showing node, whose facts are these.
AtkObject* NewAtkObject(Accessible& node, const Facts& facts, AtspiBridge& bridge);

AtkRole AtkRoleOf(Role role);
// The ATK states that each of ours stands for.
std::span<const std::pair<State, AtkStateType>> AtkStates();

}  // namespace vark::a11y::atspi
