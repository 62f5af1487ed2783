// The window's parts as a screen reader finds them, without a bus: the tree's objects, what they
// say and do, and the order in which the reader is told of a change.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backends/sdl/access/atk/AccessText.h"
#include "backends/sdl/access/atk/AccessTree.h"

namespace ombrevale {
namespace {

AccessView TitlePage() {
  AccessView view;
  view.caption = "Ombrevale 0.13";
  view.active = true;
  view.menu = {{"Version", {2, 1, 52, 17}}};
  view.vision = AccessView::Text{"The title vision", {2, 22, 400, 300}};
  view.labels = {{"2028/12/07 6:38:40", {226, 302, 169, 25}}};
  view.originX = 100;
  view.originY = 50;
  view.unitsPerPixel = 2;
  return view;
}

AccessView WithBox(AccessView view) {
  view.box = AccessView::Box{"Ombrevale",
                             {"ver 0.13", "made by the Ombrevale team", "2002/5/28"},
                             {"OK", "", {160, 170, 75, 23}},
                             {120, 110, 164, 100}};
  return view;
}

AtkObject* Child(AtkObject* parent, int index) {
  AtkObject* child = atk_object_ref_accessible_child(parent, index);
  g_object_unref(child);  // the tree holds its own
  return child;
}

std::string Role(AtkObject* object) {
  return atk_role_get_name(atk_object_get_role(object));
}

bool Has(AtkObject* object, AtkStateType state) {
  AtkStateSet* states = atk_object_ref_state_set(object);
  const bool has = atk_state_set_contains_state(states, state);
  g_object_unref(states);
  return has;
}

// What the reader is told, as "signal:detail role name", in order: heard the way the toolkit's
// bridge hears it, through emission hooks.
class Heard {
 public:
  Heard() {
    const GType types[] = {ATK_TYPE_OBJECT, ATK_TYPE_WINDOW};
    for (const char* name : {"children-changed", "state-change", "property-change"})
      Hook(g_signal_lookup(name, types[0]));
    for (const char* name : {"activate", "deactivate", "create", "destroy"})
      Hook(g_signal_lookup(name, types[1]));
  }
  ~Heard() {
    for (const auto& [signal, hook] : hooks_) g_signal_remove_emission_hook(signal, hook);
  }
  std::vector<std::string> lines;

 private:
  void Hook(guint signal) {
    hooks_.push_back({signal, g_signal_add_emission_hook(signal, 0, Note, this, nullptr)});
  }
  static gboolean Note(GSignalInvocationHint* hint, guint, const GValue* values, gpointer self) {
    auto* object = ATK_OBJECT(g_value_get_object(&values[0]));
    std::string line = g_signal_name(hint->signal_id);
    if (hint->detail != 0) line += std::string(":") + g_quark_to_string(hint->detail);
    line += " " + Role(object) + " " + NameOf(object);
    static_cast<Heard*>(self)->lines.push_back(line);
    return TRUE;
  }
  std::vector<std::pair<guint, gulong>> hooks_;
};

TEST(AccessTreeTest, TheTitlePageReadsAsTheReaderExpectsIt) {
  AccessTree tree("Ombrevale");
  tree.Show(TitlePage());
  AtkObject* app = tree.Root();
  EXPECT_EQ(Role(app), "application");
  EXPECT_EQ(NameOf(app), "Ombrevale");
  ASSERT_EQ(atk_object_get_n_accessible_children(app), 1);
  AtkObject* frame = Child(app, 0);
  EXPECT_EQ(Role(frame), "frame");
  EXPECT_EQ(NameOf(frame), "Ombrevale 0.13");
  EXPECT_TRUE(Has(frame, ATK_STATE_ACTIVE) && Has(frame, ATK_STATE_FOCUSED));

  ASSERT_EQ(atk_object_get_n_accessible_children(frame), 3);
  AtkObject* entry = Child(Child(frame, 0), 0);
  EXPECT_EQ(Role(entry), "menu item");
  EXPECT_EQ(NameOf(entry), "Version");
  EXPECT_STREQ(atk_action_get_name(ATK_ACTION(entry), 0), "click");
  EXPECT_STREQ(atk_action_get_keybinding(ATK_ACTION(entry), 0), "<Alt>v;<Alt>v;");

  AtkObject* vision = Child(frame, 1);
  EXPECT_EQ(Role(vision), "image");
  EXPECT_STREQ(atk_image_get_image_description(ATK_IMAGE(vision)), "The title vision");
  // On the screen: the window's origin, then two screen pixels to a client pixel.
  gint x = 0, y = 0, w = 0, h = 0;
  atk_component_get_extents(ATK_COMPONENT(vision), &x, &y, &w, &h, ATK_XY_SCREEN);
  EXPECT_EQ((std::vector<int>{x, y, w, h}), (std::vector<int>{104, 94, 800, 600}));
  atk_component_get_extents(ATK_COMPONENT(vision), &x, &y, &w, &h, ATK_XY_WINDOW);
  EXPECT_EQ((std::vector<int>{x, y}), (std::vector<int>{4, 44}));

  // The clock: its caption as its text, in a live region that is off.
  AtkObject* clock = Child(frame, 2);
  EXPECT_EQ(Role(clock), "label");
  gchar* text = atk_text_get_text(ATK_TEXT(clock), 0, -1);
  EXPECT_STREQ(text, "2028/12/07 6:38:40");
  g_free(text);
  AtkAttributeSet* attributes = atk_object_get_attributes(clock);
  ASSERT_NE(attributes, nullptr);
  const auto* live = static_cast<AtkAttribute*>(attributes->data);
  EXPECT_EQ(std::string(live->name) + "=" + live->value, "live=off");
  atk_attribute_set_free(attributes);
}

TEST(AccessTreeTest, TheClockChangesWithoutMovingTheFocusOrSayingMore) {
  AccessTree tree("Ombrevale");
  tree.Show(TitlePage());
  AccessView next = TitlePage();
  next.labels[0].text = "2028/12/07 6:38:41";
  Heard heard;
  tree.Show(next);
  tree.Show(next);  // the same again: nothing
  EXPECT_EQ(heard.lines,
            (std::vector<std::string>{"property-change:accessible-name label 2028/12/07 6:38:41"}));
}

TEST(AccessTreeTest, TheBoxIsReadAsItOpensAndTheWindowAsItCloses) {
  AccessTree tree("Ombrevale");
  tree.Show(TitlePage());
  Heard heard;
  tree.Show(WithBox(TitlePage()));
  const std::vector<std::string> opened = {
      "children-changed:add application Ombrevale",
      "create dialog Ombrevale",
      "state-change:focused frame Ombrevale 0.13",
      "state-change:active frame Ombrevale 0.13",
      "deactivate frame Ombrevale 0.13",
      "state-change:active dialog Ombrevale",
      "activate dialog Ombrevale",
      "state-change:focused push button OK",
  };
  // The dialog's own names come first, as it is filled in before it is added.
  std::vector<std::string> events;
  for (const std::string& line : heard.lines)
    if (line.rfind("property-change", 0) != 0) events.push_back(line);
  EXPECT_EQ(events, opened);

  AtkObject* dialog = Child(tree.Root(), 1);
  EXPECT_TRUE(Has(dialog, ATK_STATE_MODAL) && Has(dialog, ATK_STATE_ACTIVE));
  gchar* text = atk_text_get_text(ATK_TEXT(Child(dialog, 0)), 0, -1);
  EXPECT_STREQ(text, "ver 0.13\nmade by the Ombrevale team\n2002/5/28");
  g_free(text);
  AtkObject* ok = Child(dialog, 1);
  EXPECT_TRUE(Has(ok, ATK_STATE_FOCUSED) && Has(ok, ATK_STATE_DEFAULT));

  // OK's action is the window's to carry out, once; after the box closes it does nothing.
  EXPECT_TRUE(atk_action_do_action(ATK_ACTION(ok), 0));
  EXPECT_EQ(tree.TakeRequests(), (std::vector<AccessRequest>{{AccessRequest::Kind::BoxPress, 0}}));
  EXPECT_TRUE(tree.TakeRequests().empty());

  heard.lines.clear();
  tree.Show(TitlePage());
  EXPECT_EQ(heard.lines, (std::vector<std::string>{
                             "destroy dialog Ombrevale",
                             "children-changed:remove application Ombrevale",
                             "state-change:active dialog Ombrevale",
                             "deactivate dialog Ombrevale",
                             "state-change:active frame Ombrevale 0.13",
                             "activate frame Ombrevale 0.13",
                             "state-change:focused frame Ombrevale 0.13",
                         }));
  EXPECT_FALSE(atk_action_do_action(ATK_ACTION(ok), 0));
  EXPECT_TRUE(Has(ok, ATK_STATE_DEFUNCT));
  EXPECT_TRUE(tree.TakeRequests().empty());
}

TEST(AccessTreeTest, TheCalmStartsButtonTakesTheFocusWithItsHint) {
  AccessTree tree("Ombrevale");
  AccessView calm = TitlePage();
  calm.prompt =
      AccessView::Button{"Start the vision", "Return or Space starts it too", {150, 150, 120, 23}};
  tree.Show(calm);
  AtkObject* frame = Child(tree.Root(), 0);
  AtkObject* start = Child(frame, atk_object_get_n_accessible_children(frame) - 1);
  EXPECT_EQ(Role(start), "push button");
  EXPECT_EQ(NameOf(start), "Start the vision");
  EXPECT_STREQ(atk_object_get_description(start), "Return or Space starts it too");
  EXPECT_TRUE(Has(start, ATK_STATE_FOCUSED));
  EXPECT_TRUE(atk_action_do_action(ATK_ACTION(start), 0));

  // Pressed, the button goes and the window has the keyboard again.
  Heard heard;
  tree.Show(TitlePage());
  EXPECT_EQ(heard.lines, (std::vector<std::string>{
                             "children-changed:remove frame Ombrevale 0.13",
                             "state-change:focused frame Ombrevale 0.13",
                         }));
  EXPECT_EQ(tree.TakeRequests(),
            (std::vector<AccessRequest>{{AccessRequest::Kind::PromptPress, 0}}));
}

TEST(AccessTextTest, TheBoxIsReadByCharactersWordsAndLines) {
  const std::string text = "ver 0.13\nmade by Zoë\n2002/5/28";
  EXPECT_EQ(CountCharacters(text), 30);
  EXPECT_EQ(CharacterAtOffset(text, 19), U'ë');
  EXPECT_EQ(SliceCharacters(text, 17, 20), "Zoë");
  EXPECT_EQ(SliceCharacters(text, 21, -1), "2002/5/28");
  EXPECT_EQ(SliceCharacters(text, 25, 99), "/5/28");
  EXPECT_EQ(SliceCharacters(text, 5, 2), "");
  // A line holds its line break; a word the blanks after it.
  EXPECT_EQ(UnitAround(text, 11, TextUnit::Line), (TextSpan{9, 21}));
  EXPECT_EQ(UnitAround(text, 29, TextUnit::Line), (TextSpan{21, 30}));
  EXPECT_EQ(UnitAround(text, 14, TextUnit::Word), (TextSpan{14, 17}));
  EXPECT_EQ(UnitAround(text, 13, TextUnit::Word), (TextSpan{9, 14}));
  EXPECT_EQ(UnitAround(text, 19, TextUnit::Character), (TextSpan{19, 20}));
  EXPECT_EQ(UnitAround(text, 30, TextUnit::Line), (TextSpan{30, 30}));
}

}  // namespace
}  // namespace ombrevale
