#include "view/NodeDetailDialogs.h"

namespace mapvine {

CNodeDetailDialog::CNodeDetailDialog(const NodeDetailTexts& texts, QWidget* parent)
    : CDetailDialog("Node Detail", parent), texts_(texts) {
  AddTextBox(kNameBox, "Node Name:", texts.name);
  AddTextBox(kTypeBox, "Node Type:", texts.type);
  AddTextBox(kStatusBox, "Status:", texts.status);
  AddNumberBox(kDaysUntilPurgedBox, "Days Until Purged:", texts.daysUntilPurged);
  AddNumberBox(kRouteResistanceBox, "Route Additional Resistance:", texts.routeResistance);
  AddNumberBox(kResourceSequenceBox, "Resource Sequence Number:", texts.resourceSequence);
  AddNumberBox(kFlowReductionBox, "Flow Reduction Sequence Number:", texts.flowReductionSequence);
  AddTextBox(kFunctionSupportBox, "Function Support:", texts.functionSupport);
}

void CNodeDetailDialog::StoreValues() {
  texts_.name = TextOf(kNameBox);
  texts_.type = TextOf(kTypeBox);
  texts_.status = TextOf(kStatusBox);
  texts_.daysUntilPurged = NumberOf(kDaysUntilPurgedBox);
  texts_.routeResistance = NumberOf(kRouteResistanceBox);
  texts_.resourceSequence = NumberOf(kResourceSequenceBox);
  texts_.flowReductionSequence = NumberOf(kFlowReductionBox);
  texts_.functionSupport = TextOf(kFunctionSupportBox);
}

CDirectoryDetailDialog::CDirectoryDetailDialog(const DirectoryDetailTexts& texts, QWidget* parent)
    : CDetailDialog("Detail", parent), texts_(texts) {
  AddTextBox(kNameBox, "Name:", texts.name);
  AddTextBox(kTypeBox, "Type:", texts.type);
  AddTextBox(kDescriptionBox, "Description:", texts.description);
  AddTextBox(kParentNameBox, "Parent Name:", texts.parentName);
  AddTextBox(kParentTypeBox, "Parent Type:", texts.parentType);
  AddTextBox(kEntryTypeBox, "Enrty Type:", texts.entryType);
  AddTextBox(kLocationBox, "Location:", texts.location);
}

void CDirectoryDetailDialog::StoreValues() {
  texts_.name = TextOf(kNameBox);
  texts_.type = TextOf(kTypeBox);
  texts_.description = TextOf(kDescriptionBox);
  texts_.parentName = TextOf(kParentNameBox);
  texts_.parentType = TextOf(kParentTypeBox);
  texts_.entryType = TextOf(kEntryTypeBox);
  texts_.location = TextOf(kLocationBox);
}

}  // namespace mapvine
