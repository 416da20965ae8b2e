#include "dialogs/NodeDetailDialogs.h"

namespace mapvine {

CNodeDetailDialog::CNodeDetailDialog(const NodeDetailTexts& texts, QWidget* parent)
    : CDetailDialog("Node Detail", parent), texts_(texts) {
  AddTextBox(kNameBox, "Node Name:", texts_.name);
  AddTextBox(kTypeBox, "Node Type:", texts_.type);
  AddTextBox(kStatusBox, "Status:", texts_.status);
  AddNumberBox(kDaysUntilPurgedBox, "Days Until Purged:", texts_.daysUntilPurged);
  AddNumberBox(kRouteResistanceBox, "Route Additional Resistance:", texts_.routeResistance);
  AddNumberBox(kResourceSequenceBox, "Resource Sequence Number:", texts_.resourceSequence);
  AddNumberBox(kFlowReductionBox, "Flow Reduction Sequence Number:", texts_.flowReductionSequence);
  AddTextBox(kFunctionSupportBox, "Function Support:", texts_.functionSupport);
}

CDirectoryDetailDialog::CDirectoryDetailDialog(const DirectoryDetailTexts& texts, QWidget* parent)
    : CDetailDialog("Detail", parent), texts_(texts) {
  AddTextBox(kNameBox, "Name:", texts_.name);
  AddTextBox(kTypeBox, "Type:", texts_.type);
  AddTextBox(kDescriptionBox, "Description:", texts_.description);
  AddTextBox(kParentNameBox, "Parent Name:", texts_.parentName);
  AddTextBox(kParentTypeBox, "Parent Type:", texts_.parentType);
  AddTextBox(kEntryTypeBox, "Entry Type:", texts_.entryType);
  AddTextBox(kLocationBox, "Location:", texts_.location);
}

}  // namespace mapvine
