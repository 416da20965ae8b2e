#include "dialogs/DetailDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QScreen>
#include <QVBoxLayout>
#include <QValidator>

#include <algorithm>
#include <climits>
#include <string>

#include "base/UserPrompts.h"
#include "dialogs/DialogNumbers.h"
#include "export/NameText.h"

namespace mapvine {
namespace {

constexpr const char* kLatin1Only =
    "Please use only Western European (Latin-1) characters.";

// Lets a box's text grow only up to `maxLength`, the way a length limit on
// an edit control does: a longer text that was already there stays and may
// be shortened, but typing or pasting never makes it longer.
class LengthLimit final : public QValidator {
 public:
  LengthLimit(QLineEdit& box, int maxLength)
      : QValidator(&box), maxLength_(maxLength), currentLength_(box.text().size()) {
    connect(&box, &QLineEdit::textChanged, this,
            [this](const QString& text) { currentLength_ = text.size(); });
  }

  State validate(QString& input, int&) const override {
    return input.size() <= maxLength_ || input.size() <= currentLength_ ? Acceptable : Invalid;
  }

 private:
  int maxLength_;
  qsizetype currentLength_;
};

// Makes `box` wide enough to show `text` whole, with room for the cursor
// after it. A box is made for 17 characters, too few for the longer status
// and support texts; no box grows beyond two thirds of the screen, whatever
// a name read from a file holds.
void WidenFor(QLineEdit& box, const QString& text) {
  const QFontMetrics metrics = box.fontMetrics();
  const int usualText = metrics.horizontalAdvance(QLatin1Char('x')) * 17;
  const int frame = box.sizeHint().width() - usualText;
  const int needed = frame + metrics.horizontalAdvance(text + QLatin1Char(' '));
  const int most = box.screen() ? box.screen()->availableGeometry().width() * 2 / 3 : needed;
  box.setMinimumWidth(std::max(box.minimumSizeHint().width(), std::min(needed, most)));
}

}  // namespace

CDetailDialog::CDetailDialog(const char* caption, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromLatin1(caption));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  form_ = new QFormLayout;
  layout->addLayout(form_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

QLineEdit* CDetailDialog::Box(int id) const {
  for (const Entry& entry : entries_) {
    if (entry.id == id) return entry.box;
  }
  return nullptr;
}

QLineEdit& CDetailDialog::AddBox(const Entry& entry, const char* label, const QString& shown) {
  auto* box = new QLineEdit(shown, this);
  box->setObjectName(BoxName(entry.id));
  box->setCursorPosition(0);
  WidenFor(*box, shown);
  form_->addRow(QString::fromLatin1(label), box);
  entries_.push_back(entry);
  entries_.back().box = box;
  return *box;
}

void CDetailDialog::AddTextBox(int id, const char* label, std::string& value) {
  AddBox({id, nullptr, Kind::Text, 0, &value, nullptr}, label, NameToQt(value));
}

void CDetailDialog::AddNumberBox(int id, const char* label, int& value) {
  QLineEdit& box =
      AddBox({id, nullptr, Kind::Number, 0, nullptr, &value}, label, QString::number(value));
  box.setValidator(new QIntValidator(INT_MIN, INT_MAX, &box));
}

void CDetailDialog::AddLimitedBox(int id, const char* label, std::string& value, int maxLength) {
  // The limit comes after the text, so that a longer text still shows whole.
  QLineEdit& box =
      AddBox({id, nullptr, Kind::Limited, maxLength, &value, nullptr}, label, NameToQt(value));
  box.setValidator(new LengthLimit(box, maxLength));
}

bool CDetailDialog::BoxesPass() {
  for (const Entry& entry : entries_) {
    // A refused box takes the focus with its text selected, after the user
    // has been told what is wanted.
    if (entry.kind == Kind::Number && !ReadBoundedInt(*entry.box, INT_MIN, INT_MAX)) return false;
    if (entry.text != nullptr && !NameFromQt(entry.box->text())) {
      Prompts().ShowMessage(kLatin1Only);
      entry.box->setFocus();
      entry.box->selectAll();
      return false;
    }
    if (entry.kind == Kind::Limited && entry.box->text().size() > entry.maxLength) {
      Prompts().ShowMessage("Please enter no more than " + std::to_string(entry.maxLength) +
                            " characters.");
      entry.box->setFocus();
      entry.box->selectAll();
      return false;
    }
  }
  return true;
}

void CDetailDialog::accept() {
  if (!BoxesPass()) return;
  for (const Entry& entry : entries_) {
    if (entry.text != nullptr) *entry.text = NameFromQt(entry.box->text()).value_or(*entry.text);
    if (entry.number != nullptr) *entry.number = entry.box->text().trimmed().toInt();
  }
  QDialog::accept();
}

}  // namespace mapvine
