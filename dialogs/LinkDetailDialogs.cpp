#include "dialogs/LinkDetailDialogs.h"

namespace mapvine {

CTgDetailDialog::CTgDetailDialog(const TgDetailTexts& texts, QWidget* parent)
    : CDetailDialog("Link Detail", parent), texts_(texts) {
  AddLimitedBox(kNameBox, "Name:", texts_.name, kNameLimit);
  AddLimitedBox(kOwnerBox, "Owner:", texts_.owner, kNameLimit);
  AddTextBox(kOwnerTypeBox, "Owner Type:", texts_.ownerType);
  AddTextBox(kDestinationBox, "Destination:", texts_.destination);
  AddTextBox(kDestinationTypeBox, "Destination Type:", texts_.destinationType);
  AddTextBox(kStatusBox, "Status:", texts_.status);
  AddNumberBox(kTgNumberBox, "Transmission Group Number:", texts_.tgNumber);
  AddTextBox(kFlowReductionBox, "Flow Reduction Sequence Number:", texts_.flowReductionSequence);
  AddNumberBox(kDaysUntilPurgedBox, "Days Until Purged:", texts_.daysUntilPurged);
  AddNumberBox(kResourceSequenceBox, "Resource Sequence Number:", texts_.resourceSequence);
}

CLinkDetailDialog::CLinkDetailDialog(const LinkDetailTexts& texts, QWidget* parent)
    : CDetailDialog("Link Detail", parent), texts_(texts) {
  AddTextBox(kNameBox, "Name:", texts_.name);
  AddTextBox(kStatusBox, "Status:", texts_.status);
}

}  // namespace mapvine
