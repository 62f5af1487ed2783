#include "backends/sdl/access/atk/AccessNode.h"

#include <initializer_list>
#include <utility>

#include "backends/sdl/access/atk/AccessText.h"
#include "backends/sdl/access/atk/AccessTree.h"

namespace ombrevale {
namespace {

// The toolkit's object for a node: an AtkObject that points at its node.
struct AccessObject {
  AtkObject parent;
  AccessNode* node;
};
struct AccessObjectClass {
  AtkObjectClass parent;
};

AccessNode* Node(gpointer object) {
  return reinterpret_cast<AccessObject*>(object)->node;
}

gint CountChildren(AtkObject* object) {
  const AccessNode* node = Node(object);
  return node != nullptr ? static_cast<gint>(node->children.size()) : 0;
}

AtkObject* RefChild(AtkObject* object, gint index) {
  const AccessNode* node = Node(object);
  if (node == nullptr || index < 0 || static_cast<size_t>(index) >= node->children.size())
    return nullptr;
  return ATK_OBJECT(g_object_ref(node->children[static_cast<size_t>(index)]->object));
}

gint IndexInParent(AtkObject* object) {
  const AccessNode* node = Node(object);
  if (node == nullptr || node->parent == nullptr) return -1;
  const auto& siblings = node->parent->children;
  for (size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i] == node) return static_cast<gint>(i);
  return -1;
}

AtkStateSet* RefStateSet(AtkObject* object) {
  AtkStateSet* states = atk_state_set_new();
  const AccessNode* node = Node(object);
  if (node == nullptr || !node->tree.Attached(*node)) {
    atk_state_set_add_state(states, ATK_STATE_DEFUNCT);
    return states;
  }
  for (AtkStateType state :
       {ATK_STATE_ENABLED, ATK_STATE_SENSITIVE, ATK_STATE_VISIBLE, ATK_STATE_SHOWING})
    atk_state_set_add_state(states, state);
  if (node->focusable) atk_state_set_add_state(states, ATK_STATE_FOCUSABLE);
  if (node->tree.Focused(*node)) atk_state_set_add_state(states, ATK_STATE_FOCUSED);
  if (node->tree.Active(*node)) atk_state_set_add_state(states, ATK_STATE_ACTIVE);
  if (node->modal) atk_state_set_add_state(states, ATK_STATE_MODAL);
  if (node->isDefault) atk_state_set_add_state(states, ATK_STATE_DEFAULT);
  if (node->kind == NodeKind::Text && node->text.find('\n') != std::string::npos)
    atk_state_set_add_state(states, ATK_STATE_MULTI_LINE);
  return states;
}

AtkAttributeSet* Attributes(AtkObject* object) {
  const AccessNode* node = Node(object);
  if (node == nullptr || !node->liveOff) return nullptr;
  // A live region that is off: read when asked, never announced as it changes.
  auto* live = static_cast<AtkAttribute*>(g_malloc(sizeof(AtkAttribute)));
  live->name = g_strdup("live");
  live->value = g_strdup("off");
  return g_slist_prepend(nullptr, live);
}

void ClassInit(gpointer klass, gpointer) {
  AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
  atk->get_n_children = CountChildren;
  atk->ref_child = RefChild;
  atk->get_index_in_parent = IndexInParent;
  atk->ref_state_set = RefStateSet;
  atk->get_attributes = Attributes;
}

// Component: where a part lies, on the screen, in its window or in its parent.
Rect ScreenBox(const AccessNode& node) {
  return node.tree.OnScreen(node.box);
}

void Extents(AtkComponent* component, gint* x, gint* y, gint* w, gint* h, AtkCoordType coords) {
  const AccessNode* node = Node(component);
  Rect box = node != nullptr ? ScreenBox(*node) : Rect{};
  if (node != nullptr && coords != ATK_XY_SCREEN) {
    const AccessNode* from = coords == ATK_XY_WINDOW ? node->tree.WindowOf(*node) : node->parent;
    if (from != nullptr && from->kind != NodeKind::Application) {
      const Rect origin = ScreenBox(*from);
      box = box.Offset(-int64_t{origin.x}, -int64_t{origin.y});
    }
  }
  if (x != nullptr) *x = box.x;
  if (y != nullptr) *y = box.y;
  if (w != nullptr) *w = box.w;
  if (h != nullptr) *h = box.h;
}

AtkObject* AccessibleAt(AtkComponent* component, gint x, gint y, AtkCoordType coords) {
  const AccessNode* node = Node(component);
  if (node == nullptr) return nullptr;
  gint ox = 0, oy = 0;
  Extents(component, &ox, &oy, nullptr, nullptr, coords);
  const Rect self = ScreenBox(*node);
  const int sx = x - ox + self.x, sy = y - oy + self.y;  // the point on the screen
  // The last child drawn there, drawn over those before it.
  for (auto child = node->children.rbegin(); child != node->children.rend(); ++child)
    if (ScreenBox(**child).Contains(sx, sy)) return ATK_OBJECT(g_object_ref((*child)->object));
  return nullptr;
}

AtkLayer Layer(AtkComponent* component) {
  const AccessNode* node = Node(component);
  return node != nullptr && node->kind == NodeKind::Window ? ATK_LAYER_WINDOW : ATK_LAYER_WIDGET;
}

void ComponentInit(gpointer iface, gpointer) {
  auto* component = static_cast<AtkComponentIface*>(iface);
  component->get_extents = Extents;
  component->ref_accessible_at_point = AccessibleAt;
  component->get_layer = Layer;
}

// Action: a control's one action, carried out by the window as its own input.
gint CountActions(AtkAction* action) {
  const AccessNode* node = Node(action);
  return node != nullptr && node->request ? 1 : 0;
}

gboolean DoAction(AtkAction* action, gint index) {
  AccessNode* node = Node(action);
  if (node == nullptr || !node->request || index != 0 || !node->tree.Attached(*node)) return FALSE;
  node->tree.Request(*node->request);
  return TRUE;
}

const gchar* ActionName(AtkAction* action, gint index) {
  return index == 0 && CountActions(action) == 1 ? "click" : nullptr;
}

const gchar* KeyBinding(AtkAction* action, gint index) {
  const AccessNode* node = Node(action);
  if (node == nullptr || index != 0 || node->keyBinding.empty()) return nullptr;
  return node->keyBinding.c_str();
}

void ActionInit(gpointer iface, gpointer) {
  auto* action = static_cast<AtkActionIface*>(iface);
  action->get_n_actions = CountActions;
  action->do_action = DoAction;
  action->get_name = ActionName;
  action->get_keybinding = KeyBinding;
}

// Image: the vision, named for what it shows.
const gchar* ImageDescription(AtkImage* image) {
  return atk_object_get_name(ATK_OBJECT(image));
}

void ImageSize(AtkImage* image, gint* w, gint* h) {
  Extents(ATK_COMPONENT(image), nullptr, nullptr, w, h, ATK_XY_SCREEN);
}

void ImagePosition(AtkImage* image, gint* x, gint* y, AtkCoordType coords) {
  Extents(ATK_COMPONENT(image), x, y, nullptr, nullptr, coords);
}

void ImageInit(gpointer iface, gpointer) {
  auto* image = static_cast<AtkImageIface*>(iface);
  image->get_image_description = ImageDescription;
  image->get_image_size = ImageSize;
  image->get_image_position = ImagePosition;
}

// Text: a label's caption, or the box's lines.
const std::string& TextOf(AtkText* text) {
  static const std::string kNone;
  const AccessNode* node = Node(text);
  return node != nullptr ? node->text : kNone;
}

gchar* GetText(AtkText* text, gint start, gint end) {
  return g_strdup(SliceCharacters(TextOf(text), start, end).c_str());
}

gint CharacterCount(AtkText* text) {
  return CountCharacters(TextOf(text));
}

gunichar CharacterAt(AtkText* text, gint offset) {
  return static_cast<gunichar>(CharacterAtOffset(TextOf(text), offset));
}

gchar* UnitAt(AtkText* text, gint offset, TextUnit unit, gint* start, gint* end) {
  const TextSpan span = UnitAround(TextOf(text), offset, unit);
  if (start != nullptr) *start = span.start;
  if (end != nullptr) *end = span.end;
  return GetText(text, span.start, span.end);
}

// Sentences and paragraphs are read as lines: each line of the box is one of each.
gchar* StringAt(AtkText* text, gint offset, AtkTextGranularity granularity, gint* start,
                gint* end) {
  const TextUnit unit = granularity == ATK_TEXT_GRANULARITY_CHAR   ? TextUnit::Character
                        : granularity == ATK_TEXT_GRANULARITY_WORD ? TextUnit::Word
                                                                   : TextUnit::Line;
  return UnitAt(text, offset, unit, start, end);
}

gchar* TextAt(AtkText* text, gint offset, AtkTextBoundary boundary, gint* start, gint* end) {
  const TextUnit unit =
      boundary == ATK_TEXT_BOUNDARY_CHAR ? TextUnit::Character
      : boundary == ATK_TEXT_BOUNDARY_WORD_START || boundary == ATK_TEXT_BOUNDARY_WORD_END
          ? TextUnit::Word
          : TextUnit::Line;
  return UnitAt(text, offset, unit, start, end);
}

gint CaretOffset(AtkText*) {
  return 0;
}

void TextInit(gpointer iface, gpointer) {
  auto* text = static_cast<AtkTextIface*>(iface);
  text->get_text = GetText;
  text->get_character_count = CharacterCount;
  text->get_character_at_offset = CharacterAt;
  text->get_string_at_offset = StringAt;
  text->get_text_at_offset = TextAt;
  text->get_caret_offset = CaretOffset;
}

void WindowInit(gpointer, gpointer) {}

using Interface = std::pair<GType, GInterfaceInitFunc>;

GType Derive(GType parent, const char* name, std::initializer_list<Interface> interfaces,
             GClassInitFunc classInit = nullptr) {
  const GType type =
      g_type_register_static_simple(parent, name, sizeof(AccessObjectClass), classInit,
                                    sizeof(AccessObject), nullptr, static_cast<GTypeFlags>(0));
  for (const Interface& i : interfaces) {
    const GInterfaceInfo info{i.second, nullptr, nullptr};
    g_type_add_interface_static(type, i.first, &info);
  }
  return type;
}

// The object types, registered once, the first time a node asks.
struct Types {
  GType application, part, window, control, text, image;
  Types() {
    application = Derive(ATK_TYPE_OBJECT, "OmbrevaleAccessible", {}, ClassInit);
    part = Derive(application, "OmbrevaleAccessiblePart", {{ATK_TYPE_COMPONENT, ComponentInit}});
    window = Derive(part, "OmbrevaleAccessibleWindow", {{ATK_TYPE_WINDOW, WindowInit}});
    control = Derive(part, "OmbrevaleAccessibleControl", {{ATK_TYPE_ACTION, ActionInit}});
    text = Derive(part, "OmbrevaleAccessibleText", {{ATK_TYPE_TEXT, TextInit}});
    image = Derive(part, "OmbrevaleAccessibleImage", {{ATK_TYPE_IMAGE, ImageInit}});
  }
  GType Of(NodeKind kind) const {
    switch (kind) {
      case NodeKind::Application:
        return application;
      case NodeKind::Part:
        return part;
      case NodeKind::Window:
        return window;
      case NodeKind::Control:
        return control;
      case NodeKind::Text:
        return text;
      case NodeKind::Image:
        return image;
    }
    return part;
  }
};

const Types& ObjectTypes() {
  static const Types types;
  return types;
}

}  // namespace

AccessNode::AccessNode(AccessTree& owner, NodeKind nodeKind, AtkRole role)
    : tree(owner), kind(nodeKind) {
  object = ATK_OBJECT(g_object_new(ObjectTypes().Of(kind), nullptr));
  reinterpret_cast<AccessObject*>(object)->node = this;
  atk_object_initialize(object, nullptr);
  atk_object_set_role(object, role);
}

AccessNode::~AccessNode() {
  reinterpret_cast<AccessObject*>(object)->node = nullptr;
  g_object_unref(object);
}

AccessNode* NodeOf(gpointer object) {
  return Node(object);
}

}  // namespace ombrevale
