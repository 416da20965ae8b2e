#pragma once

#include "model/CLink.h"
#include "model/CNode.h"

namespace mapvine {

// The nodes and links the person has picked in the window: what the last
// right click hit, the node a drag holds, the node a pending link starts
// from, the keyboard's selection and the item whose detail dialog is open.
// None is owned; Forget is the one place that lets go of an item leaving
// the document.
struct ViewPicks {
  CNode* menuNode = nullptr;
  CLink* menuLink = nullptr;
  bool menuOnNode = false;
  CNode* dragNode = nullptr;
  CNode* linkSource = nullptr;
  bool linkMode = false;
  CNode* selected = nullptr;
  const void* edited = nullptr;

  void Forget(const CNode& node) {
    if (menuNode == &node) menuNode = nullptr;
    if (dragNode == &node) dragNode = nullptr;  // the release still ends the drag
    if (linkSource == &node) {
      linkSource = nullptr;
      linkMode = false;
    }
    if (selected == &node) selected = nullptr;
    if (edited == &node) edited = nullptr;
  }
  void Forget(const CLink& link) {
    if (menuLink == &link) menuLink = nullptr;
    if (edited == &link) edited = nullptr;
  }
  // Everything but the selection and an open dialog's item, which outlive
  // an undo.
  void ForgetMenuDragAndLink() {
    menuNode = nullptr;
    menuLink = nullptr;
    dragNode = nullptr;
    linkSource = nullptr;
    linkMode = false;
  }
};

}  // namespace mapvine
