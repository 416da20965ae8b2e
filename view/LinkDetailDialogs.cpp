#include "view/LinkDetailDialogs.h"

namespace mapvine {

CTgDetailDialog::CTgDetailDialog(const TgDetailTexts& texts, QWidget* parent)
    : CDetailDialog("Link Detail", parent), texts_(texts) {
  AddLimitedBox(kNameBox, "Name:", texts.name, kNameLimit);
  AddLimitedBox(kOwnerBox, "Owner:", texts.owner, kNameLimit);
  AddTextBox(kOwnerTypeBox, "Owner Type:", texts.ownerType);
  AddTextBox(kDestinationBox, "Destination:", texts.destination);
  AddTextBox(kDestinationTypeBox, "Destination Type:", texts.destinationType);
  AddTextBox(kStatusBox, "Status:", texts.status);
  AddNumberBox(kTgNumberBox, "Transmission Group Number:", texts.tgNumber);
  AddTextBox(kFlowReductionBox, "Flow Reduction Sequence Number:", texts.flowReductionSequence);
  AddNumberBox(kDaysUntilPurgedBox, "Days Until Purged:", texts.daysUntilPurged);
  AddNumberBox(kResourceSequenceBox, "Resource Sequence Number:", texts.resourceSequence);
}

void CTgDetailDialog::StoreValues() {
  texts_.name = TextOf(kNameBox);
  texts_.owner = TextOf(kOwnerBox);
  texts_.ownerType = TextOf(kOwnerTypeBox);
  texts_.destination = TextOf(kDestinationBox);
  texts_.destinationType = TextOf(kDestinationTypeBox);
  texts_.status = TextOf(kStatusBox);
  texts_.tgNumber = NumberOf(kTgNumberBox);
  texts_.flowReductionSequence = TextOf(kFlowReductionBox);
  texts_.daysUntilPurged = NumberOf(kDaysUntilPurgedBox);
  texts_.resourceSequence = NumberOf(kResourceSequenceBox);
}

CLinkDetailDialog::CLinkDetailDialog(const LinkDetailTexts& texts, QWidget* parent)
    : CDetailDialog("Link Detail", parent), texts_(texts) {
  AddTextBox(kNameBox, "Name:", texts.name);
  AddTextBox(kStatusBox, "Status:", texts.status);
}

void CLinkDetailDialog::StoreValues() {
  texts_.name = TextOf(kNameBox);
  texts_.status = TextOf(kStatusBox);
}

}  // namespace mapvine
