#pragma once

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "tests/view/DialogSupport.h"
#include "dialogs/DetailDialog.h"

namespace mapvine::viewtest {

inline QString BoxText(const CDetailDialog& dialog, int id) {
  const QLineEdit* box = dialog.Box(id);
  return box != nullptr ? box->text() : QStringLiteral("<no box>");
}

// The label the form shows beside the box with number `id`.
inline QString LabelOf(const CDetailDialog& dialog, int id) {
  const auto* form = dialog.findChild<QFormLayout*>();
  QLineEdit* box = dialog.Box(id);
  if (form == nullptr || box == nullptr) return {};
  const auto* label = qobject_cast<QLabel*>(form->labelForField(box));
  return label != nullptr ? label->text() : QString();
}

}  // namespace mapvine::viewtest
