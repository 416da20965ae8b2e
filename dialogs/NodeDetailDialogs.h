#pragma once

#include "dialogs/DetailTexts.h"
#include "dialogs/DetailDialog.h"

namespace mapvine {

// "Node Detail": a node's record decoded, or the fixed values of a node
// without one. Texts() holds what OK took from the boxes.
class CNodeDetailDialog final : public CDetailDialog {
 public:
  enum BoxId : int {
    kNameBox = 1011,
    kTypeBox = 1012,
    kStatusBox = 1014,
    kDaysUntilPurgedBox = 1015,
    kFlowReductionBox = 1016,
    kRouteResistanceBox = 1017,
    kFunctionSupportBox = 1018,
    kResourceSequenceBox = 1020,
  };

  explicit CNodeDetailDialog(const NodeDetailTexts& texts, QWidget* parent = nullptr);
  const NodeDetailTexts& Texts() const { return texts_; }

 private:
  NodeDetailTexts texts_;
};

// "Detail": a node known only from the directory.
class CDirectoryDetailDialog final : public CDetailDialog {
 public:
  enum BoxId : int {
    kNameBox = 1048,
    kTypeBox = 1049,
    kDescriptionBox = 1050,
    kParentNameBox = 1051,
    kParentTypeBox = 1052,
    kEntryTypeBox = 1053,
    kLocationBox = 1054,
  };

  explicit CDirectoryDetailDialog(const DirectoryDetailTexts& texts, QWidget* parent = nullptr);
  const DirectoryDetailTexts& Texts() const { return texts_; }

 private:
  DirectoryDetailTexts texts_;
};

}  // namespace mapvine
