// Sections: the base type (AtkObject: name, role, states, relations, parent,
// children); the interfaces (component, action, value, text, selection,
// window); the types, one for each set of interfaces.
#include "platform/ui/a11y/linux/atspi/AtkObjects.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "platform/ui/a11y/linux/atspi/AtspiBridge.h"

namespace vark::a11y::atspi {

namespace {

struct VarkAtkObjectClass {
  AtkObjectClass parent;
};

gpointer baseParentClass = nullptr;

Accessible* NodeOf(gpointer object) {
  return reinterpret_cast<VarkAtkObject*>(object)->node;
}

AtspiBridge& BridgeOf(gpointer object) {
  return *reinterpret_cast<VarkAtkObject*>(object)->bridge;
}

// The item at index, or null past either end.
template <class T>
const T* At(const std::vector<T>& items, gint index) {
  return index >= 0 && static_cast<size_t>(index) < items.size()
             ? &items[static_cast<size_t>(index)]
             : nullptr;
}

// A string that lives as long as the program: action names are few.
const gchar* Interned(const std::string& text) {
  return g_intern_string(text.c_str());
}

// --- the base type -------------------------------------------------------------

void Finalize(GObject* object) {
  VarkAtkObject* self = reinterpret_cast<VarkAtkObject*>(object);
  g_free(self->name);
  g_free(self->description);
  G_OBJECT_CLASS(baseParentClass)->finalize(object);
}

const gchar* GetName(AtkObject* object) {
  VarkAtkObject* self = AsVark(object);
  if (self->node == nullptr) return nullptr;
  g_free(self->name);
  self->name = g_strdup(self->node->Describe().name.c_str());
  return self->name;
}

const gchar* GetDescription(AtkObject* object) {
  VarkAtkObject* self = AsVark(object);
  if (self->node == nullptr) return nullptr;
  g_free(self->description);
  self->description = g_strdup(self->node->Describe().description.c_str());
  return self->description;
}

AtkRole GetRole(AtkObject* object) {
  Accessible* node = NodeOf(object);
  return node != nullptr ? AtkRoleOf(node->Describe().role) : ATK_ROLE_INVALID;
}

AtkObject* GetParent(AtkObject* object) {
  Accessible* node = NodeOf(object);
  Accessible* parent = node != nullptr ? node->Parent() : nullptr;
  return parent != nullptr ? BridgeOf(object).Wrap(*parent) : nullptr;
}

gint GetChildCount(AtkObject* object) {
  Accessible* node = NodeOf(object);
  if (node == nullptr) return 0;
  return static_cast<gint>(BridgeOf(object).ShowChildren(*node).size());
}

AtkObject* RefChild(AtkObject* object, gint index) {
  Accessible* node = NodeOf(object);
  if (node == nullptr) return nullptr;
  const std::vector<AtkObject*> children = BridgeOf(object).ShowChildren(*node);
  AtkObject* const* child = At(children, index);
  return child != nullptr ? ATK_OBJECT(g_object_ref(*child)) : nullptr;
}

gint GetIndexInParent(AtkObject* object) {
  Accessible* node = NodeOf(object);
  Accessible* parent = node != nullptr ? node->Parent() : nullptr;
  if (parent == nullptr) return -1;
  const std::vector<Accessible*> siblings = parent->Children();
  auto it = std::find(siblings.begin(), siblings.end(), node);
  return it == siblings.end() ? -1 : static_cast<gint>(it - siblings.begin());
}

AtkStateSet* RefStateSet(AtkObject* object) {
  AtkStateSet* set = atk_state_set_new();
  Accessible* node = NodeOf(object);
  if (node == nullptr) {
    atk_state_set_add_state(set, ATK_STATE_DEFUNCT);
    return set;
  }
  const States states = node->Describe().states;
  for (const auto& [state, atk] : AtkStates()) {
    if (states.Contains(state)) atk_state_set_add_state(set, atk);
  }
  return set;
}

// Made anew on every request, as the states are: the relations follow the
// objects as they are now.
AtkRelationSet* RefRelationSet(AtkObject* object) {
  AtkRelationSet* set = atk_relation_set_new();
  Accessible* node = NodeOf(object);
  if (node == nullptr) return set;
  for (const Relation& relation : node->Describe().relations) {
    const AtkRelationType type = relation.type == RelationType::DescribedBy
                                     ? ATK_RELATION_DESCRIBED_BY
                                     : ATK_RELATION_DESCRIPTION_FOR;
    atk_relation_set_add_relation_by_type(set, type, BridgeOf(object).Wrap(*relation.target));
  }
  return set;
}

void BaseClassInit(gpointer klass, gpointer) {
  baseParentClass = g_type_class_peek_parent(klass);
  G_OBJECT_CLASS(klass)->finalize = Finalize;
  AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
  atk->get_name = GetName;
  atk->get_description = GetDescription;
  atk->get_role = GetRole;
  atk->get_parent = GetParent;
  atk->get_n_children = GetChildCount;
  atk->ref_child = RefChild;
  atk->get_index_in_parent = GetIndexInParent;
  atk->ref_state_set = RefStateSet;
  atk->ref_relation_set = RefRelationSet;
}

GType BaseType() {
  static const GType type = [] {
    const GTypeInfo info = {
        sizeof(VarkAtkObjectClass), nullptr, nullptr, BaseClassInit, nullptr, nullptr,
        sizeof(VarkAtkObject),      0,       nullptr, nullptr};
    return g_type_register_static(ATK_TYPE_OBJECT, "VarkAccessible", &info, GTypeFlags(0));
  }();
  return type;
}

// --- component: where it is, and the focus ----------------------------------------------

// The window an object lies in: the one whose parent is the application.
Accessible* WindowOf(Accessible* node) {
  while (node != nullptr && node->Parent() != nullptr && node->Parent()->Parent() != nullptr)
    node = node->Parent();
  return node;
}

void GetExtents(AtkComponent* component, gint* x, gint* y, gint* width, gint* height,
                AtkCoordType coords) {
  Accessible* node = NodeOf(component);
  TRect r = node != nullptr ? node->ScreenBounds() : TRect{};
  if (r.IsEmpty()) {
    r = {};
  } else if (coords != ATK_XY_SCREEN) {
    Accessible* origin = coords == ATK_XY_WINDOW ? WindowOf(node) : node->Parent();
    const TRect o = origin != nullptr ? origin->ScreenBounds() : TRect{};
    r = Rect(r.Left - o.Left, r.Top - o.Top, r.Right - o.Left, r.Bottom - o.Top);
  }
  if (x != nullptr) *x = r.Left;
  if (y != nullptr) *y = r.Top;
  if (width != nullptr) *width = r.Width();
  if (height != nullptr) *height = r.Height();
}

gboolean GrabFocus(AtkComponent* component) {
  Accessible* node = NodeOf(component);
  return node != nullptr && node->GrabFocus();
}

AtkLayer GetLayer(AtkComponent* component) {
  Accessible* node = NodeOf(component);
  return node != nullptr && WindowOf(node) == node ? ATK_LAYER_WINDOW : ATK_LAYER_WIDGET;
}

void ComponentInit(gpointer iface, gpointer) {
  auto* component = static_cast<AtkComponentIface*>(iface);
  component->get_extents = GetExtents;
  component->grab_focus = GrabFocus;
  component->get_layer = GetLayer;
}

// --- action ---------------------------------------------------------------------------------

std::vector<std::string> ActionsOf(gpointer object) {
  Accessible* node = NodeOf(object);
  return node != nullptr ? node->Describe().actions : std::vector<std::string>{};
}

gint GetActionCount(AtkAction* action) {
  return static_cast<gint>(ActionsOf(action).size());
}

const gchar* GetActionName(AtkAction* action, gint index) {
  const std::vector<std::string> actions = ActionsOf(action);
  const std::string* name = At(actions, index);
  return name != nullptr ? Interned(*name) : nullptr;
}

gboolean DoAction(AtkAction* action, gint index) {
  const std::vector<std::string> actions = ActionsOf(action);
  const std::string* name = At(actions, index);
  return name != nullptr && NodeOf(action)->DoAction(*name);
}

void ActionInit(gpointer iface, gpointer) {
  auto* action = static_cast<AtkActionIface*>(iface);
  action->get_n_actions = GetActionCount;
  action->get_name = GetActionName;
  action->get_localized_name = GetActionName;
  action->do_action = DoAction;
}

// --- value ------------------------------------------------------------------------------------

Range RangeOf(gpointer object) {
  Accessible* node = NodeOf(object);
  if (node == nullptr) return {};
  return node->Describe().value.value_or(Range{});
}

void SetDouble(GValue* value, double number) {
  g_value_init(value, G_TYPE_DOUBLE);
  g_value_set_double(value, number);
}

void GetCurrentValue(AtkValue* value, GValue* out) {
  SetDouble(out, RangeOf(value).current);
}
void GetMinimumValue(AtkValue* value, GValue* out) {
  SetDouble(out, RangeOf(value).minimum);
}
void GetMaximumValue(AtkValue* value, GValue* out) {
  SetDouble(out, RangeOf(value).maximum);
}

void GetValueAndText(AtkValue* value, gdouble* current, gchar** text) {
  if (current != nullptr) *current = RangeOf(value).current;
  if (text != nullptr) *text = nullptr;
}

AtkRange* GetRange(AtkValue* value) {
  const Range range = RangeOf(value);
  return atk_range_new(range.minimum, range.maximum, nullptr);
}

void ValueInit(gpointer iface, gpointer) {
  auto* value = static_cast<AtkValueIface*>(iface);
  value->get_current_value = GetCurrentValue;
  value->get_minimum_value = GetMinimumValue;
  value->get_maximum_value = GetMaximumValue;
  value->get_value_and_text = GetValueAndText;
  value->get_range = GetRange;
}

// --- text: a label's or a message's, read only ----------------------------------------------

std::string TextOf(gpointer object) {
  Accessible* node = NodeOf(object);
  return node != nullptr ? node->Describe().text : std::string();
}

gchar* GetText(AtkText* text, gint start, gint end) {
  const std::string all = TextOf(text);
  const glong length = g_utf8_strlen(all.c_str(), -1);
  if (end < 0 || end > length) end = static_cast<gint>(length);
  start = std::clamp<gint>(start, 0, end);
  return g_utf8_substring(all.c_str(), start, end);
}

gint GetCharacterCount(AtkText* text) {
  return static_cast<gint>(g_utf8_strlen(TextOf(text).c_str(), -1));
}

gunichar GetCharacterAtOffset(AtkText* text, gint offset) {
  const std::string all = TextOf(text);
  if (offset < 0 || offset >= g_utf8_strlen(all.c_str(), -1)) return 0;
  return g_utf8_get_char(g_utf8_offset_to_pointer(all.c_str(), offset));
}

gint GetCaretOffset(AtkText*) {
  return 0;
}

// The piece of the text around offset: a character, a word (the run of
// non-blanks it lies in), or else the whole text, which is one line or one
// paragraph of a label.
gchar* GetStringAtOffset(AtkText* text, gint offset, AtkTextGranularity granularity, gint* start,
                         gint* end) {
  const std::string all = TextOf(text);
  const gint length = static_cast<gint>(g_utf8_strlen(all.c_str(), -1));
  offset = std::clamp<gint>(offset, 0, length);
  gint from = 0, to = length;
  if (granularity == ATK_TEXT_GRANULARITY_CHAR) {
    from = std::min(offset, length);
    to = std::min(offset + 1, length);
  } else if (granularity == ATK_TEXT_GRANULARITY_WORD) {
    auto blank = [&](gint i) {
      return g_unichar_isspace(g_utf8_get_char(g_utf8_offset_to_pointer(all.c_str(), i)));
    };
    from = offset;
    while (from > 0 && !blank(from - 1))
      --from;
    to = offset;
    while (to < length && !blank(to))
      ++to;
    while (to < length && blank(to))
      ++to;  // a word takes the blanks after it, as ATK counts words
  }
  if (start != nullptr) *start = from;
  if (end != nullptr) *end = to;
  return g_utf8_substring(all.c_str(), from, to);
}

gchar* GetTextAtOffset(AtkText* text, gint offset, AtkTextBoundary boundary, gint* start,
                       gint* end) {
  AtkTextGranularity granularity = ATK_TEXT_GRANULARITY_LINE;
  if (boundary == ATK_TEXT_BOUNDARY_CHAR) granularity = ATK_TEXT_GRANULARITY_CHAR;
  if (boundary == ATK_TEXT_BOUNDARY_WORD_START || boundary == ATK_TEXT_BOUNDARY_WORD_END) {
    granularity = ATK_TEXT_GRANULARITY_WORD;
  }
  return GetStringAtOffset(text, offset, granularity, start, end);
}

gint GetSelectionCount(AtkText*) {
  return 0;
}

void TextInit(gpointer iface, gpointer) {
  auto* text = static_cast<AtkTextIface*>(iface);
  text->get_text = GetText;
  text->get_character_count = GetCharacterCount;
  text->get_character_at_offset = GetCharacterAtOffset;
  text->get_caret_offset = GetCaretOffset;
  text->get_string_at_offset = GetStringAtOffset;
  text->get_text_at_offset = GetTextAtOffset;
  text->get_n_selections = GetSelectionCount;
}

// --- selection: a list's selected items ---------------------------------------------------------

std::vector<Accessible*> ChildrenOf(gpointer object) {
  Accessible* node = NodeOf(object);
  return node != nullptr ? node->Children() : std::vector<Accessible*>{};
}

std::vector<Accessible*> SelectedOf(gpointer object) {
  std::vector<Accessible*> selected;
  for (Accessible* child : ChildrenOf(object)) {
    if (child->Describe().states.Contains(State::Selected)) selected.push_back(child);
  }
  return selected;
}

gboolean AddSelection(AtkSelection* selection, gint index) {
  const std::vector<Accessible*> children = ChildrenOf(selection);
  Accessible* const* child = At(children, index);
  return child != nullptr && (*child)->DoAction("select");
}

gboolean IsChildSelected(AtkSelection* selection, gint index) {
  const std::vector<Accessible*> children = ChildrenOf(selection);
  Accessible* const* child = At(children, index);
  return child != nullptr && (*child)->Describe().states.Contains(State::Selected);
}

gint GetSelectedCount(AtkSelection* selection) {
  return static_cast<gint>(SelectedOf(selection).size());
}

AtkObject* RefSelection(AtkSelection* selection, gint index) {
  const std::vector<Accessible*> selected = SelectedOf(selection);
  Accessible* const* item = At(selected, index);
  return item != nullptr ? ATK_OBJECT(g_object_ref(BridgeOf(selection).Wrap(**item))) : nullptr;
}

void SelectionInit(gpointer iface, gpointer) {
  auto* selection = static_cast<AtkSelectionIface*>(iface);
  selection->add_selection = AddSelection;
  selection->is_child_selected = IsChildSelected;
  selection->get_selection_count = GetSelectedCount;
  selection->ref_selection = RefSelection;
}

// --- the types
// ---------------------------------------------------------------------------------------

enum Interface : unsigned {
  kComponent = 1,
  kAction = 2,
  kValue = 4,
  kText = 8,
  kSelection = 16,
  kWindow = 32,
};

unsigned InterfacesFor(const Facts& facts) {
  unsigned set = 0;
  if (facts.role != Role::Application) set |= kComponent;
  if (!facts.actions.empty()) set |= kAction;
  if (facts.value) set |= kValue;
  if (facts.role == Role::Label) set |= kText;
  if (facts.role == Role::List) set |= kSelection;
  if (facts.role == Role::Frame || facts.role == Role::Dialog || facts.role == Role::Alert) {
    set |= kWindow;
  }
  return set;
}

// The type of our objects with these interfaces, registered on first use.
GType TypeWith(unsigned interfaces) {
  static auto& types = *new std::map<unsigned, GType>;  // as lasting as the types
  if (auto it = types.find(interfaces); it != types.end()) return it->second;
  const std::string name = "VarkAccessible" + std::to_string(interfaces);
  const GTypeInfo info = {sizeof(VarkAtkObjectClass), nullptr, nullptr, nullptr, nullptr, nullptr,
                          sizeof(VarkAtkObject),      0,       nullptr, nullptr};
  const GType type = g_type_register_static(BaseType(), name.c_str(), &info, GTypeFlags(0));
  struct {
    unsigned bit;
    GType iface;
    GInterfaceInitFunc init;
  } const table[] = {
      {kComponent, ATK_TYPE_COMPONENT, ComponentInit},
      {kAction, ATK_TYPE_ACTION, ActionInit},
      {kValue, ATK_TYPE_VALUE, ValueInit},
      {kText, ATK_TYPE_TEXT, TextInit},
      {kSelection, ATK_TYPE_SELECTION, SelectionInit},
      {kWindow, ATK_TYPE_WINDOW, nullptr},  // its signals only
  };
  for (const auto& entry : table) {
    if ((interfaces & entry.bit) == 0) continue;
    const GInterfaceInfo iface = {entry.init, nullptr, nullptr};
    g_type_add_interface_static(type, entry.iface, &iface);
  }
  types[interfaces] = type;
  return type;
}

}  // namespace

VarkAtkObject* AsVark(AtkObject* object) {
  return G_TYPE_CHECK_INSTANCE_CAST(object, BaseType(), VarkAtkObject);
}

AtkObject* NewAtkObject(Accessible& node, const Facts& facts, AtspiBridge& bridge) {
  AtkObject* object = ATK_OBJECT(g_object_new(TypeWith(InterfacesFor(facts)), nullptr));
  VarkAtkObject* self = AsVark(object);
  self->node = &node;
  self->bridge = &bridge;
  atk_object_initialize(object, nullptr);
  object->role = AtkRoleOf(facts.role);
  object->layer = (InterfacesFor(facts) & kWindow) != 0 ? ATK_LAYER_WINDOW : ATK_LAYER_WIDGET;
  return object;
}

AtkRole AtkRoleOf(Role role) {
  switch (role) {
    case Role::Application:
      return ATK_ROLE_APPLICATION;
    case Role::Frame:
      return ATK_ROLE_FRAME;
    case Role::Dialog:
      return ATK_ROLE_DIALOG;
    case Role::Alert:
      return ATK_ROLE_ALERT;
    case Role::Panel:
      return ATK_ROLE_PANEL;
    case Role::Label:
      return ATK_ROLE_LABEL;
    case Role::PushButton:
      return ATK_ROLE_PUSH_BUTTON;
    case Role::CheckBox:
      return ATK_ROLE_CHECK_BOX;
    case Role::List:
      return ATK_ROLE_LIST;
    case Role::ListItem:
      return ATK_ROLE_LIST_ITEM;
    case Role::ProgressBar:
      return ATK_ROLE_PROGRESS_BAR;
    case Role::None:
      break;
  }
  return ATK_ROLE_FILLER;
}

std::span<const std::pair<State, AtkStateType>> AtkStates() {
  static constexpr std::pair<State, AtkStateType> states[] = {
      {State::Enabled, ATK_STATE_ENABLED},
      {State::Enabled, ATK_STATE_SENSITIVE},
      {State::Visible, ATK_STATE_VISIBLE},
      {State::Showing, ATK_STATE_SHOWING},
      {State::Focusable, ATK_STATE_FOCUSABLE},
      {State::Focused, ATK_STATE_FOCUSED},
      {State::Active, ATK_STATE_ACTIVE},
      {State::Modal, ATK_STATE_MODAL},
      {State::Checkable, ATK_STATE_CHECKABLE},
      {State::Checked, ATK_STATE_CHECKED},
      {State::Indeterminate, ATK_STATE_INDETERMINATE},
      {State::Selectable, ATK_STATE_SELECTABLE},
      {State::Selected, ATK_STATE_SELECTED},
  };
  return states;
}

}  // namespace vark::a11y::atspi
