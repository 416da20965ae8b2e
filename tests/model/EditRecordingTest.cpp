#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "model/EditRecording.h"
#include "tests/support/PictureState.h"

namespace mapvine {
namespace {

// NODE0..NODE3, two hand-drawn links from NODE0 to NODE1 (same key but for
// their number), a second node reported as NODE1 in front of the first,
// which the name no longer stands for, and PLAIN, known by its label only.
struct Picture {
  Picture() {
    for (int i = 0; i < 4; ++i) Add("NODE" + std::to_string(i));
    shadowed = &Node(1);
    Add("NODE1");
    Add("PLAIN").fqName.clear();
    doc.NewLink(Node(0), Node(1));
    doc.NewLink(Node(0), Node(1));
  }
  CNode& Add(const std::string& name) {
    auto node = std::make_unique<CNode>();
    node->label = name;
    node->fqName = "NETA." + name;
    return doc.InsertNode(std::move(node));
  }
  CNode& Node(int i) { return *doc.FindNode("NODE" + std::to_string(i)); }
  CNode& Plain() { return *doc.FindNode("PLAIN"); }
  CLink& Link(int i) { return *std::next(doc.Links().begin(), i)->get(); }

  CMapvineDoc doc;
  CNode* shadowed = nullptr;
};

TEST(EditRecording, KeepsWhatTheEditTouchedAndUndoesIt) {
  const struct {
    const char* name;
    std::function<void(Picture&)> edit;
    bool recorded;
  } edits[] = {
      {"move", [](Picture& p) { p.doc.NodeChanging(p.Node(2)); p.Node(2).SetPosition(300, 40); }, true},
      {"moved and back", [](Picture& p) {
         p.doc.NodeChanging(p.Node(2));
         p.Node(2).SetPosition(300, 40);
         p.Node(2).SetPosition(0, 0);
       }, false},
      {"a later holder of a shared name", [](Picture& p) {
         p.doc.NodeChanging(*p.shadowed);
         p.shadowed->hidden = true;
       }, false},
      {"renamed, then deleted, known by its label", [](Picture& p) {
         p.doc.RenameNode(p.Plain(), "OTHER");
         p.doc.RemoveNode(*p.doc.FindNode("OTHER"));
       }, true},
      {"every node hidden", [](Picture& p) {
         for (const auto& node : p.doc.Nodes()) {
           p.doc.NodeChanging(*node);
           node->hidden = true;
         }
       }, true},
      // Only hidden or shown, and then more than that.
      {"hidden, then moved and deleted", [](Picture& p) {
         for (const int i : {0, 2, 3}) p.doc.NodeChanging(p.Node(i));
         p.Node(0).hidden = p.Node(2).hidden = p.Node(3).hidden = true;
         p.Node(3).SetPosition(200, 10);
         p.doc.RemoveNode(p.Plain());
       }, true},
      {"the second of two same-named links", [](Picture& p) {
         p.doc.LinkChanging(p.Link(1));
         p.Link(1).status = StatusFor(!IsActive(p.Link(1).status));
       }, true},
      {"delete", [](Picture& p) { p.doc.RemoveNode(p.Node(0)); }, true},
      {"moved, then deleted", [](Picture& p) {
         p.doc.NodeChanging(p.Node(3));
         p.Node(3).SetPosition(200, 10);
         p.doc.RemoveNode(p.Node(3));
       }, true},
      {"added and linked", [](Picture& p) { p.doc.NewLink(p.Add("NODE9"), p.Node(2)); }, true},
      {"added, then deleted", [](Picture& p) { p.doc.RemoveNode(p.Add("NODE9")); }, false},
      {"restack", [](Picture& p) { p.doc.NodeChanging(p.Node(0)); p.Node(0).SetDepth(10); }, true},
      {"nothing", [](Picture&) {}, false},
  };
  for (const auto& e : edits) {
    SCOPED_TRACE(e.name);
    Picture p;
    const testing::PictureState before = testing::StateOfPicture(p.doc);
    EditRecording recording(p.doc, false);
    e.edit(p);
    const std::optional<DocumentEdit> edit = recording.Finish();
    const testing::PictureState after = testing::StateOfPicture(p.doc);
    ASSERT_EQ(edit.has_value(), e.recorded);
    if (!edit) continue;
    edit->Undo(p.doc);
    EXPECT_EQ(testing::StateOfPicture(p.doc), before);
    edit->Redo(p.doc);
    EXPECT_EQ(testing::StateOfPicture(p.doc), after);
  }
}

}  // namespace
}  // namespace mapvine
