#include "app/SettingsDialog.h"

#include <QCheckBox>
#include <algorithm>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

#include "model/ViewSettings.h"
#include "dialogs/DialogNumbers.h"

namespace mapvine {
namespace {

constexpr const char* kNote =
    "Note: Enabling Actively Query Status will cause unreachable nodes to appear greyed out.  "
    "Checking this box enables node status but also increases refresh time since every "
    "displayed node (every node not hidden) is APINGed.";

}  // namespace

QCheckBox* SettingsDialog::AddCheck(int id, const char* text, Flag flag) {
  auto* box = new QCheckBox(QString::fromUtf8(text), this);
  box->setObjectName(QStringLiteral("check%1").arg(id));
  box->setChecked(values_.*flag);
  checks_.emplace_back(box, flag);
  return box;
}

SettingsDialog::SettingsDialog(const DocumentSettings& settings, QWidget* parent, StatusCheckLimits limits)
    : QDialog(parent), values_(settings) {
  setWindowTitle(QStringLiteral("View Settings"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Select Global View Settings"), this));

  auto* popUp = new QGroupBox(QStringLiteral("Select node types to pop up when discovered"), this);
  auto* popUpLayout = new QVBoxLayout(popUp);
  popUpLayout->addWidget(AddCheck(1057, "Network Nodes", &DocumentSettings::showNnOnDiscovery));
  popUpLayout->addWidget(
      AddCheck(1058, "Connection Networks", &DocumentSettings::showCnOnDiscovery));
  popUpLayout->addWidget(AddCheck(1059, "End Nodes", &DocumentSettings::showEnOnDiscovery));
  popUpLayout->addWidget(
      AddCheck(1060, "Logical Units (LUs)", &DocumentSettings::showLuOnDiscovery));
  layout->addWidget(popUp);

  auto* refreshRow = new QHBoxLayout;
  QCheckBox* autoRefresh = AddCheck(1065, "Auto Refresh Every", &DocumentSettings::autoRefresh);
  seconds_ = new QLineEdit(QString::number(settings.refreshSeconds), this);
  seconds_->setObjectName(QStringLiteral("box1066"));
  // Digits only; the range is checked on OK.
  seconds_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), seconds_));
  refreshRow->addWidget(autoRefresh);
  refreshRow->addWidget(seconds_);
  refreshRow->addWidget(new QLabel(QStringLiteral("second(s)"), this));
  refreshRow->addStretch();
  layout->addLayout(refreshRow);

  layout->addWidget(AddCheck(1061,
                             "Automatically grow and shrink view as nodes are added and hidden",
                             &DocumentSettings::autoGrow));
  layout->addWidget(AddCheck(1062,
                             "Automatically tile view (layout nodes in grid) when size decreases "
                             "or nodes are hidden",
                             &DocumentSettings::autoTile));
  layout->addWidget(AddCheck(1063, "Actively Query Status of viewed nodes after Refresh (APING)",
                             &DocumentSettings::activeQuery));

  auto* checksRow = new QHBoxLayout;
  atOnce_ = new QSpinBox(this);
  atOnce_->setObjectName(QStringLiteral("checksAtOnce"));
  atOnce_->setRange(1, StatusCheckLimits::kMaxAtOnce);
  atOnce_->setValue(limits.atOnce);
  deadline_ = new QSpinBox(this);
  deadline_->setObjectName(QStringLiteral("checkDeadline"));
  deadline_->setRange(1, StatusCheckLimits::kMaxDeadlineSeconds);
  deadline_->setValue(std::max(1, limits.deadlineMilliseconds / 1000));
  deadline_->setSuffix(QStringLiteral(" s"));
  auto* atOnceLabel = new QLabel(QStringLiteral("Status checks at once"), this);
  atOnceLabel->setBuddy(atOnce_);
  auto* deadlineLabel = new QLabel(QStringLiteral("each given up after"), this);
  deadlineLabel->setBuddy(deadline_);
  checksRow->addWidget(atOnceLabel);
  checksRow->addWidget(atOnce_);
  checksRow->addWidget(deadlineLabel);
  checksRow->addWidget(deadline_);
  checksRow->addStretch();
  layout->addLayout(checksRow);

  auto* note = new QLabel(QString::fromUtf8(kNote), this);
  note->setWordWrap(true);
  layout->addWidget(note);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &SettingsDialog::reject);
  layout->addWidget(buttons);
}

StatusCheckLimits SettingsDialog::StatusLimits() const {
  return StatusCheckLimits{.atOnce = atOnce_->value(), .deadlineMilliseconds = deadline_->value() * 1000};
}

void SettingsDialog::accept() {
  const auto seconds = ReadBoundedInt(*seconds_, kMinRefreshSeconds, kMaxRefreshSeconds);
  if (!seconds) return;
  for (const auto& [box, flag] : checks_) values_.*flag = box->isChecked();
  values_.refreshSeconds = *seconds;
  QDialog::accept();
}

}  // namespace mapvine
