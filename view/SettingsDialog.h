#pragma once

#include <QDialog>

#include "model/MapvineDoc.h"

class QCheckBox;
class QLineEdit;

namespace mapvine {

// "View Settings": which kinds of node pop up when discovered, auto refresh
// and its period, growing, tiling and the status query. The controls are
// named after their numbers ("check1057", "box1066") for scripting.
class SettingsDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit SettingsDialog(const DocumentSettings& settings, QWidget* parent = nullptr);

  // The settings with the nine values as confirmed; meaningful after OK.
  const DocumentSettings& Values() const { return values_; }

  // OK: refused, with the dialog left open, while the period is not a
  // number of seconds within 1..32000.
  void accept() override;

 private:
  QCheckBox* AddCheck(int id, const char* text, int value);

  DocumentSettings values_;
  QCheckBox* showNn_;
  QCheckBox* showCn_;
  QCheckBox* showEn_;
  QCheckBox* showLu_;
  QCheckBox* autoRefresh_;
  QLineEdit* seconds_;
  QCheckBox* autoGrow_;
  QCheckBox* autoTile_;
  QCheckBox* activeQuery_;
};

}  // namespace mapvine
