#include "view/DetailDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QValidator>

#include <climits>
#include <string>

#include "base/UserPrompts.h"
#include "view/DialogNumbers.h"

namespace mapvine {
namespace {

// Texts are the program's 8-bit strings (names may hold any byte).
QString ToQt(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

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

QLineEdit& CDetailDialog::AddBox(int id, const char* label, const QString& text, Kind kind,
                                 int maxLength) {
  auto* box = new QLineEdit(text, this);
  box->setObjectName(BoxName(id));
  box->setCursorPosition(0);
  form_->addRow(QString::fromLatin1(label), box);
  entries_.push_back({id, box, kind, maxLength});
  return *box;
}

void CDetailDialog::AddTextBox(int id, const char* label, const std::string& text) {
  AddBox(id, label, ToQt(text), Kind::Text, 0);
}

void CDetailDialog::AddNumberBox(int id, const char* label, int value) {
  QLineEdit& box = AddBox(id, label, QString::number(value), Kind::Number, 0);
  box.setValidator(new QIntValidator(INT_MIN, INT_MAX, &box));
}

void CDetailDialog::AddLimitedBox(int id, const char* label, const std::string& text,
                                  int maxLength) {
  // The limit comes after the text, so that a longer text still shows whole.
  QLineEdit& box = AddBox(id, label, ToQt(text), Kind::Limited, maxLength);
  box.setValidator(new LengthLimit(box, maxLength));
}

std::string CDetailDialog::TextOf(int id) const {
  const QLineEdit* box = Box(id);
  return box != nullptr ? box->text().toLatin1().toStdString() : std::string();
}

int CDetailDialog::NumberOf(int id) const {
  const QLineEdit* box = Box(id);
  return box != nullptr ? box->text().trimmed().toInt() : 0;
}

bool CDetailDialog::BoxesPass() {
  for (const Entry& entry : entries_) {
    // A refused box takes the focus with its text selected, after the user
    // has been told what is wanted.
    if (entry.kind == Kind::Number && !ReadBoundedInt(*entry.box, INT_MIN, INT_MAX)) return false;
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
  StoreValues();
  QDialog::accept();
}

}  // namespace mapvine
