#include "view/SettingsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "model/ViewSettings.h"
#include "view/DialogNumbers.h"

namespace mapvine {
namespace {

constexpr const char* kNote =
    "Note: Enabling Actively Query Status will cause unreachable nodes to appear greyed out.  "
    "Checking this box enables node status but also increases refresh time since every "
    "displayed node (every node not hidden) is APINGed.";

int Flag(const QCheckBox* box) { return box->isChecked() ? 1 : 0; }

}  // namespace

QCheckBox* SettingsDialog::AddCheck(int id, const char* text, int value) {
  auto* box = new QCheckBox(QString::fromUtf8(text), this);
  box->setObjectName(QStringLiteral("check%1").arg(id));
  box->setChecked(value != 0);
  return box;
}

SettingsDialog::SettingsDialog(const DocumentSettings& settings, QWidget* parent)
    : QDialog(parent), values_(settings) {
  setWindowTitle(QStringLiteral("View Settings"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Select Global View Settings"), this));

  auto* popUp = new QGroupBox(QStringLiteral("Select node types to pop up when discovered"), this);
  auto* popUpLayout = new QVBoxLayout(popUp);
  showNn_ = AddCheck(1057, "Network Nodes", settings.showNnOnDiscovery);
  showCn_ = AddCheck(1058, "Connection Networks", settings.showCnOnDiscovery);
  showEn_ = AddCheck(1059, "End Nodes", settings.showEnOnDiscovery);
  showLu_ = AddCheck(1060, "Logical Units (LUs)", settings.showLuOnDiscovery);
  for (QCheckBox* box : {showNn_, showCn_, showEn_, showLu_}) popUpLayout->addWidget(box);
  layout->addWidget(popUp);

  auto* refreshRow = new QHBoxLayout;
  autoRefresh_ = AddCheck(1065, "Auto Refresh Every", settings.autoRefresh);
  seconds_ = new QLineEdit(QString::number(settings.refreshSeconds), this);
  seconds_->setObjectName(QStringLiteral("box1066"));
  // Digits only; the range is checked on OK.
  seconds_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), seconds_));
  refreshRow->addWidget(autoRefresh_);
  refreshRow->addWidget(seconds_);
  refreshRow->addWidget(new QLabel(QStringLiteral("second(s)"), this));
  refreshRow->addStretch();
  layout->addLayout(refreshRow);

  autoGrow_ = AddCheck(1061, "Automatically grow and shrink view as nodes are added and hidden",
                       settings.autoGrow);
  autoTile_ = AddCheck(1062,
                       "Automatically tile view (layout nodes in grid) when size decreases or "
                       "nodes are hidden",
                       settings.autoTile);
  activeQuery_ = AddCheck(1063, "Actively Query Status of viewed nodes after Refresh (APING)",
                          settings.activeQuery);
  for (QCheckBox* box : {autoGrow_, autoTile_, activeQuery_}) layout->addWidget(box);

  auto* note = new QLabel(QString::fromUtf8(kNote), this);
  note->setWordWrap(true);
  layout->addWidget(note);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &SettingsDialog::reject);
  layout->addWidget(buttons);
}

void SettingsDialog::accept() {
  const auto seconds = ReadBoundedInt(*seconds_, kMinRefreshSeconds, kMaxRefreshSeconds);
  if (!seconds) return;
  values_.showNnOnDiscovery = Flag(showNn_);
  values_.showCnOnDiscovery = Flag(showCn_);
  values_.showEnOnDiscovery = Flag(showEn_);
  values_.showLuOnDiscovery = Flag(showLu_);
  values_.autoRefresh = Flag(autoRefresh_);
  values_.refreshSeconds = *seconds;
  values_.autoGrow = Flag(autoGrow_);
  values_.autoTile = Flag(autoTile_);
  values_.activeQuery = Flag(activeQuery_);
  QDialog::accept();
}

}  // namespace mapvine
