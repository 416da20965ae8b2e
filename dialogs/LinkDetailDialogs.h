#pragma once

#include "dialogs/DetailTexts.h"
#include "dialogs/DetailDialog.h"

namespace mapvine {

// "Link Detail" of a transmission group with its TG record. The name and
// owner boxes take at most 17 characters, the length of an SNA name.
class CTgDetailDialog final : public CDetailDialog {
 public:
  enum BoxId : int {
    kNameBox = 1031,
    kOwnerBox = 1032,
    kOwnerTypeBox = 1033,
    kDestinationBox = 1034,
    kDestinationTypeBox = 1035,
    kStatusBox = 1036,
    kTgNumberBox = 1037,
    kFlowReductionBox = 1038,
    kDaysUntilPurgedBox = 1039,
    kResourceSequenceBox = 1040,
  };
  static constexpr int kNameLimit = 17;

  explicit CTgDetailDialog(const TgDetailTexts& texts, QWidget* parent = nullptr);
  const TgDetailTexts& Texts() const { return texts_; }

 private:
  TgDetailTexts texts_;
};

// "Link Detail" of a link without a TG record: its name and status.
class CLinkDetailDialog final : public CDetailDialog {
 public:
  enum BoxId : int {
    kNameBox = CTgDetailDialog::kNameBox,
    kStatusBox = CTgDetailDialog::kStatusBox,
  };

  explicit CLinkDetailDialog(const LinkDetailTexts& texts, QWidget* parent = nullptr);
  const LinkDetailTexts& Texts() const { return texts_; }

 private:
  LinkDetailTexts texts_;
};

}  // namespace mapvine
