#pragma once

// One part of the window as the accessibility toolkit (ATK) shows it to a screen reader: a C++
// node holding what the part says, where it lies and what it can do, behind the toolkit's object
// for it. The node's kind decides which of the toolkit's interfaces its object answers: a window's,
// an action's, a text's or an image's; the application itself answers none.

#include <atk/atk.h>

#include <optional>
#include <string>
#include <vector>

#include "backends/sdl/access/AccessView.h"
#include "platform/Rect.h"

namespace ombrevale {

class AccessTree;

enum class NodeKind { Application, Part, Window, Control, Text, Image };

struct AccessNode {
  AccessNode(AccessTree& tree, NodeKind kind, AtkRole role);
  ~AccessNode();
  AccessNode(const AccessNode&) = delete;
  AccessNode& operator=(const AccessNode&) = delete;

  // The toolkit's object, which the node holds a reference to; it points back at the node until
  // the node goes, and answers as an empty part after that.
  AtkObject* object = nullptr;
  AccessTree& tree;
  NodeKind kind;
  AccessNode* parent = nullptr;
  std::vector<AccessNode*> children;
  std::string text;  // a text's: its lines joined by "\n"
  Rect box;          // in client pixels
  // States beyond being shown: a part that takes the keyboard, the box's modality, the default
  // button, a live region that is never announced.
  bool focusable = false, modal = false, isDefault = false, liveOff = false;
  std::optional<AccessRequest> request;  // a control's one action
  std::string keyBinding;                // the keys that do it, as the toolkit spells them
};

// The node behind a toolkit object, or null for one whose node has gone.
AccessNode* NodeOf(gpointer object);

}  // namespace ombrevale
