#pragma once

#include <QDialog>
#include <utility>
#include <vector>

#include "model/MapvineDoc.h"
#include "refresh/StatusPass.h"

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace mapvine {

// "View Settings": which kinds of node pop up when discovered, auto refresh
// and its period, growing, tiling and the status query. The controls are
// named after their numbers ("check1057", "box1066") for scripting.
class SettingsDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit SettingsDialog(const DocumentSettings& settings, QWidget* parent = nullptr,
                          StatusCheckLimits limits = {});

  // The settings with the nine values as confirmed; meaningful after OK.
  const DocumentSettings& Values() const { return values_; }
  // How many status checks run at once, and how long each may take. They
  // belong to the person's program, not to the picture: no file keeps them.
  StatusCheckLimits StatusLimits() const;

  // OK: refused, with the dialog left open, while the period is not a
  // number of seconds within 1..32000.
  void accept() override;

 private:
  using Flag = bool DocumentSettings::*;
  // A check box showing `flag`, which OK writes back.
  QCheckBox* AddCheck(int id, const char* text, Flag flag);

  DocumentSettings values_;
  std::vector<std::pair<QCheckBox*, Flag>> checks_;
  QLineEdit* seconds_;
  QSpinBox* atOnce_;
  QSpinBox* deadline_;
};

}  // namespace mapvine
