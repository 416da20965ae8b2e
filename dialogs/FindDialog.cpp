#include "dialogs/FindDialog.h"

#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/SortedNames.h"
#include "export/NameText.h"

namespace mapvine {

namespace {

const char* const kRecentKey = "find/recent";

QStringList RecentSearches() {
  return QSettings("Mapvine", "Mapvine").value(kRecentKey).toStringList();
}

// The completer's rows: the labels and network-qualified names that hold
// the typed text, sorted. A large picture has a hundred thousand names and
// more, so they are matched here first: the completer, which turns each row
// it looks at into text, then looks only at those. The document keeps the
// names sorted while they stay the same, and each keystroke takes them
// anew, so that names a refresh changed meanwhile are offered. A row turns
// into text only when asked for.
class NameRows final : public QAbstractListModel {
 public:
  NameRows(const CMapvineDoc& doc, QObject* parent) : QAbstractListModel(parent), doc_(doc) {}

  void Match(const QString& typed) {
    beginResetModel();
    const std::optional<std::string> text = NameFromQt(typed);
    names_ = doc_.SortedResourceNames();
    rows_ = text ? names_->Holding(*text) : std::vector<std::uint32_t>{};
    endResetModel();
  }
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return NameToQt((*names_)[rows_[static_cast<std::size_t>(index.row())]]);
  }

 private:
  const CMapvineDoc& doc_;
  // The names rows_ counts in, as they were at the last keystroke.
  std::shared_ptr<const SortedNames> names_;
  std::vector<std::uint32_t> rows_;
};

}  // namespace

FindDialog::FindDialog(const CMapvineDoc& doc, QWidget* parent)
    : QDialog(parent), doc_(doc) {
  setWindowTitle(QStringLiteral("Locate Resource"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Enter Resource Name to Find:"), this));

  name_ = new QComboBox(this);
  name_->setEditable(true);
  name_->setInsertPolicy(QComboBox::NoInsert);
  name_->addItems(RecentSearches());
  name_->setCurrentIndex(-1);
  name_->lineEdit()->setObjectName(QStringLiteral("box1056"));
  auto* names = new NameRows(doc_, this);
  // The rows change before the completer hears of the same edit.
  connect(name_->lineEdit(), &QLineEdit::textEdited, names, &NameRows::Match);
  auto* completer = new QCompleter(names, this);
  completer->setCaseSensitivity(Qt::CaseInsensitive);
  completer->setFilterMode(Qt::MatchContains);
  // The rows hold only names that match already: filtering them again
  // would turn each of up to a hundred thousand rows into text at every
  // keystroke.
  completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
  if (auto* list = qobject_cast<QListView*>(completer->popup())) {
    // Rows of one height, laid out a batch at a time between other events:
    // the list need not lay out a hundred thousand names before it shows.
    list->setUniformItemSizes(true);
    list->setLayoutMode(QListView::Batched);
  }
  name_->setCompleter(completer);
  // An editable box keeps Enter from the dialog's default button: Enter
  // locates here, and in the completer's list (see eventFilter).
  connect(name_->lineEdit(), &QLineEdit::returnPressed, this, [this] { Finish(Choice::Locate); });
  // Filters installed later run first: this one sees Enter before the
  // completer takes it.
  completer->popup()->installEventFilter(this);
  layout->addWidget(name_);

  notice_ = new QLabel(this);
  notice_->setObjectName(QStringLiteral("notice"));
  layout->addWidget(notice_);
  connect(name_, &QComboBox::editTextChanged, notice_, &QLabel::clear);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QPushButton* from = buttons->addButton(QStringLiteral("Route From Here"),
                                         QDialogButtonBox::ActionRole);
  QPushButton* to = buttons->addButton(QStringLiteral("Route To Here"),
                                       QDialogButtonBox::ActionRole);
  QPushButton* neighbourhood = buttons->addButton(QStringLiteral("Show Neighbourhood…"),
                                                  QDialogButtonBox::ActionRole);
  neighbourhood->setObjectName(QStringLiteral("neighbourhood"));
  connect(neighbourhood, &QPushButton::clicked, this, [this] { Finish(Choice::Neighbourhood); });
  from->setObjectName(QStringLiteral("routeFrom"));
  to->setObjectName(QStringLiteral("routeTo"));
  connect(buttons, &QDialogButtonBox::accepted, this, [this] { Finish(Choice::Locate); });
  connect(buttons, &QDialogButtonBox::rejected, this, &FindDialog::reject);
  connect(from, &QPushButton::clicked, this, [this] { Finish(Choice::RouteFrom); });
  connect(to, &QPushButton::clicked, this, [this] { Finish(Choice::RouteTo); });
  layout->addWidget(buttons);
}

void FindDialog::Finish(Choice choice) {
  const QString typed = name_->currentText();
  const std::optional<std::string> text = NameFromQt(typed);
  found_ = text ? doc_.FindResource(*text) : nullptr;
  if (found_ == nullptr) {
    notice_->setText(QStringLiteral("\"%1\" not found").arg(typed));
    name_->lineEdit()->selectAll();
    name_->setFocus();
    return;
  }
  choice_ = choice;
  Remember(typed);
  accept();
}

bool FindDialog::eventFilter(QObject* watched, QEvent* event) {
  QAbstractItemView* list = name_->completer()->popup();
  if (watched != list || event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
  // A highlighted row is what the person means; otherwise the typed text.
  // The list makes its first row current without highlighting it.
  const QModelIndex row = list->currentIndex();
  if (row.isValid() && list->selectionModel()->isSelected(row)) {
    name_->lineEdit()->setText(row.data().toString());
  }
  list->hide();
  Finish(Choice::Locate);
  return true;
}

void FindDialog::Remember(const QString& text) const {
  QStringList recent = RecentSearches();
  recent.removeAll(text);
  recent.prepend(text);
  while (recent.size() > kRememberedSearches) recent.removeLast();
  QSettings("Mapvine", "Mapvine").setValue(kRecentKey, recent);
}

void FindDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The user types the name at once, without clicking into the box.
  name_->lineEdit()->setFocus();
}

}  // namespace mapvine
