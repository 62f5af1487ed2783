#include "backends/sdl/access/atk/AccessTree.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <utility>

#include "platform/PageLayout.h"

namespace ombrevale {
namespace {

// The lines of the box, as one text.
std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? "\n" : "") + lines[i];
  return text;
}

// The keys that click a menu entry, as a menu bar's access key: Alt with the caption's first
// letter (its mnemonic; its full path; no shortcut).
std::string EntryKeys(const std::string& caption) {
  if (caption.empty()) return {};
  const std::string key =
      "<Alt>" +
      std::string(1, static_cast<char>(std::tolower(static_cast<unsigned char>(caption[0]))));
  return key + ";" + key + ";";
}

void Describe(AtkObject* object, const std::string& description) {
  const gchar* now = atk_object_get_description(object);
  if (description != (now != nullptr ? now : ""))
    atk_object_set_description(object, description.c_str());
}

void SetText(AccessNode& node, const std::string& text, const Rect& box) {
  node.text = text;
  node.box = box;
  Rename(node.object, text);
}

}  // namespace

std::string NameOf(AtkObject* object) {
  const gchar* name = atk_object_get_name(object);
  return name != nullptr ? name : "";
}

void Rename(AtkObject* object, const std::string& name) {
  if (NameOf(object) != name) atk_object_set_name(object, name.c_str());
}

AccessTree::AccessTree(std::string_view application) {
  app_ = std::make_unique<AccessNode>(*this, NodeKind::Application, ATK_ROLE_APPLICATION);
  Rename(app_->object, std::string(application));
  frame_ = std::make_unique<AccessNode>(*this, NodeKind::Window, ATK_ROLE_FRAME);
  frame_->box = {0, 0, kClientWidth, kClientHeight};
  frame_->focusable = true;
  menuBar_ = std::make_unique<AccessNode>(*this, NodeKind::Part, ATK_ROLE_MENU_BAR);
  vision_ = std::make_unique<AccessNode>(*this, NodeKind::Image, ATK_ROLE_IMAGE);
  prompt_ = std::make_unique<AccessNode>(*this, NodeKind::Control, ATK_ROLE_PUSH_BUTTON);
  prompt_->focusable = prompt_->isDefault = true;
  prompt_->request = AccessRequest{AccessRequest::Kind::PromptPress};
  prompt_->keyBinding = ";;Return";
  dialog_ = std::make_unique<AccessNode>(*this, NodeKind::Window, ATK_ROLE_DIALOG);
  dialog_->modal = true;
  dialogText_ = std::make_unique<AccessNode>(*this, NodeKind::Text, ATK_ROLE_LABEL);
  ok_ = std::make_unique<AccessNode>(*this, NodeKind::Control, ATK_ROLE_PUSH_BUTTON);
  ok_->focusable = ok_->isDefault = true;
  ok_->request = AccessRequest{AccessRequest::Kind::BoxPress};
  ok_->keyBinding = ";;Return";
  SetChildren(*app_, {frame_.get()});
  SetChildren(*frame_, {menuBar_.get()});
  SetChildren(*dialog_, {dialogText_.get(), ok_.get()});
}

AccessTree::~AccessTree() = default;

bool AccessTree::Attached(const AccessNode& node) const {
  const AccessNode* n = &node;
  while (n->parent != nullptr) n = n->parent;
  return n == app_.get();
}

const AccessNode* AccessTree::WindowOf(const AccessNode& node) const {
  const AccessNode* n = &node;
  while (n != nullptr && n->kind != NodeKind::Window) n = n->parent;
  return n;
}

Rect AccessTree::OnScreen(const Rect& box) const {
  const double k = view_.unitsPerPixel;
  const auto at = [k](int origin, int v) { return origin + static_cast<int>(std::lround(v * k)); };
  return {at(view_.originX, box.x), at(view_.originY, box.y),
          static_cast<int>(std::lround(box.w * k)), static_cast<int>(std::lround(box.h * k))};
}

bool AccessTree::Show(const AccessView& view) {
  if (shown_ && view == view_) return false;
  shown_ = true;
  view_ = view;
  Rename(frame_->object, view.caption);
  ShowMenu(view);
  ShowPage(view);
  ShowBox(view);
  ShowActivity(view);
  return true;
}

std::vector<AccessRequest> AccessTree::TakeRequests() {
  std::vector<AccessRequest> requests;
  requests.swap(requests_);
  return requests;
}

void AccessTree::Grow(std::vector<std::unique_ptr<AccessNode>>& nodes, size_t count, NodeKind kind,
                      AtkRole role) {
  while (nodes.size() < count) nodes.push_back(std::make_unique<AccessNode>(*this, kind, role));
}

void AccessTree::ShowMenu(const AccessView& view) {
  Grow(entries_, view.menu.size(), NodeKind::Control, ATK_ROLE_MENU_ITEM);
  std::vector<AccessNode*> shown;
  Rect strip;
  for (size_t i = 0; i < view.menu.size(); ++i) {
    AccessNode& entry = *entries_[i];
    entry.box = view.menu[i].box;
    Rename(entry.object, view.menu[i].text);
    entry.focusable = true;
    entry.request = AccessRequest{AccessRequest::Kind::MenuClick, static_cast<int>(i)};
    entry.keyBinding = EntryKeys(view.menu[i].text);
    strip = strip.Empty() ? entry.box
                          : Rect{strip.x, strip.y, entry.box.x + entry.box.w - strip.x, strip.h};
    shown.push_back(&entry);
  }
  menuBar_->box = strip;
  SetChildren(*menuBar_, std::move(shown));
}

void AccessTree::ShowPage(const AccessView& view) {
  std::vector<AccessNode*> shown{menuBar_.get()};
  if (view.vision) {
    vision_->box = view.vision->box;
    Rename(vision_->object, view.vision->text);
    shown.push_back(vision_.get());
  }
  Grow(labels_, view.labels.size(), NodeKind::Text, ATK_ROLE_LABEL);
  for (size_t i = 0; i < view.labels.size(); ++i) {
    AccessNode& label = *labels_[i];
    label.liveOff = true;  // the clock: read on demand, never announced each second
    SetText(label, view.labels[i].text, view.labels[i].box);
    shown.push_back(&label);
  }
  if (view.prompt) {
    prompt_->box = view.prompt->box;
    Rename(prompt_->object, view.prompt->caption);
    Describe(prompt_->object, view.prompt->hint);
    shown.push_back(prompt_.get());
  }
  SetChildren(*frame_, std::move(shown));
}

void AccessTree::ShowBox(const AccessView& view) {
  const bool wasOpen = dialog_->parent != nullptr;
  if (view.box) {
    dialog_->box = view.box->bounds;
    Rename(dialog_->object, view.box->title);
    SetText(*dialogText_, Joined(view.box->lines), view.box->bounds);
    ok_->box = view.box->ok.box;
    Rename(ok_->object, view.box->ok.caption);
  }
  if (view.box.has_value() == wasOpen) return;
  if (view.box) {
    SetChildren(*app_, {frame_.get(), dialog_.get()});
    g_signal_emit_by_name(dialog_->object, "create");
  } else {
    g_signal_emit_by_name(dialog_->object, "destroy");
    SetChildren(*app_, {frame_.get()});
  }
}

void AccessTree::ShowActivity(const AccessView& view) {
  AccessNode* const window = view.box ? dialog_.get() : frame_.get();
  AccessNode* active = view.active ? window : nullptr;
  AccessNode* focus = nullptr;
  if (view.active) {
    if (view.box)
      focus = ok_.get();
    else if (view.menuPressed >= 0 && static_cast<size_t>(view.menuPressed) < view.menu.size())
      focus = entries_[static_cast<size_t>(view.menuPressed)].get();
    else if (view.prompt)
      focus = prompt_.get();
    else
      focus = frame_.get();
  }
  // The part that had the keyboard loses it before its window is left; the new window is
  // activated before the part in it is focused.
  if (focus != focus_ && focus_ != nullptr) {
    AccessNode* old = std::exchange(focus_, nullptr);
    if (Attached(*old)) atk_object_notify_state_change(old->object, ATK_STATE_FOCUSED, FALSE);
  }
  if (active != active_) {
    if (AccessNode* old = std::exchange(active_, active)) {
      atk_object_notify_state_change(old->object, ATK_STATE_ACTIVE, FALSE);
      g_signal_emit_by_name(old->object, "deactivate");
    }
    if (active != nullptr) {
      atk_object_notify_state_change(active->object, ATK_STATE_ACTIVE, TRUE);
      g_signal_emit_by_name(active->object, "activate");
    }
  }
  if (focus != focus_) {
    focus_ = focus;
    if (focus != nullptr) atk_object_notify_state_change(focus->object, ATK_STATE_FOCUSED, TRUE);
  }
}

void AccessTree::SetChildren(AccessNode& node, std::vector<AccessNode*> children) {
  if (children == node.children) return;
  // What leaves, from the last, at the index it had.
  for (size_t i = node.children.size(); i-- > 0;) {
    AccessNode* child = node.children[i];
    if (std::find(children.begin(), children.end(), child) != children.end()) continue;
    node.children.erase(node.children.begin() + static_cast<std::ptrdiff_t>(i));
    child->parent = nullptr;
    g_signal_emit_by_name(node.object, "children-changed::remove", static_cast<guint>(i),
                          child->object);
  }
  for (size_t i = 0; i < children.size(); ++i) {
    AccessNode* child = children[i];
    if (child->parent == &node) continue;
    child->parent = &node;
    atk_object_set_parent(child->object, node.object);
    node.children.insert(node.children.begin() + static_cast<std::ptrdiff_t>(i), child);
    g_signal_emit_by_name(node.object, "children-changed::add", static_cast<guint>(i),
                          child->object);
  }
  node.children = std::move(children);
}

}  // namespace ombrevale
