#pragma once

// The window's parts as a screen reader finds them, kept as a tree of toolkit objects under the
// application: the window (a frame named by its caption) with its menu bar and entries, the vision
// (an image), the labels over it and the calm start's button; the version box beside it while it
// is open (a modal dialog with its text and its OK button). Shown a new view, it changes what
// changed and tells the screen reader in the order it reads best: a box that opens is added,
// activated, and its button focused; as it closes the window is active and focused again.

#include <memory>
#include <string_view>
#include <vector>

#include "backends/sdl/access/AccessView.h"
#include "backends/sdl/access/atk/AccessNode.h"

namespace ombrevale {

class AccessTree {
 public:
  explicit AccessTree(std::string_view application);
  ~AccessTree();
  AccessTree(const AccessTree&) = delete;
  AccessTree& operator=(const AccessTree&) = delete;

  // The application's object, the root every screen reader starts from.
  AtkObject* Root() const { return app_->object; }

  // Shows `view`: whether anything changed.
  bool Show(const AccessView& view);

  // What the screen reader asked the window to do since the last call.
  std::vector<AccessRequest> TakeRequests();

  // For the objects: an action done, and the states and places they answer with.
  void Request(const AccessRequest& request) { requests_.push_back(request); }
  bool Focused(const AccessNode& node) const { return &node == focus_; }
  bool Active(const AccessNode& node) const { return &node == active_; }
  // Whether the node is part of what the window shows now.
  bool Attached(const AccessNode& node) const;
  // A box of client pixels on the screen, in the screen's units.
  Rect OnScreen(const Rect& box) const;
  // The window or box the node lies in.
  const AccessNode* WindowOf(const AccessNode& node) const;

 private:
  void ShowMenu(const AccessView& view);
  void ShowPage(const AccessView& view);
  void ShowBox(const AccessView& view);
  // Who has the keyboard: the window or the box, and the part inside it.
  void ShowActivity(const AccessView& view);
  // Sets the node's children, telling what was removed and what added.
  void SetChildren(AccessNode& node, std::vector<AccessNode*> children);
  void Grow(std::vector<std::unique_ptr<AccessNode>>& nodes, size_t count, NodeKind kind,
            AtkRole role);

  std::unique_ptr<AccessNode> app_, frame_, menuBar_, vision_, prompt_, dialog_, dialogText_, ok_;
  std::vector<std::unique_ptr<AccessNode>> entries_, labels_;
  AccessView view_;
  bool shown_ = false;
  AccessNode* focus_ = nullptr;
  AccessNode* active_ = nullptr;
  std::vector<AccessRequest> requests_;
};

// A toolkit object's name: what it says, or "" for none.
std::string NameOf(AtkObject* object);
// Names the object, telling the screen reader only when the name changes.
void Rename(AtkObject* object, const std::string& name);

}  // namespace ombrevale
