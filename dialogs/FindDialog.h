#pragma once

#include <QDialog>

#include "model/CNode.h"
#include "model/MapvineDoc.h"

class QComboBox;
class QLabel;

namespace mapvine {

// "Locate Resource": asks for the name of the node to find. As the person
// types, the box ("box1056", which has the focus whenever the dialog is
// shown) offers the labels and network-qualified names that hold the text
// anywhere, ignoring case; its list holds the last searches that found a
// node. A name no node carries is said "not found" and the dialog stays
// open. Besides locating, the found node can become a route's start or end.
class FindDialog final : public QDialog {
  Q_OBJECT

 public:
  enum class Choice { Locate, RouteFrom, RouteTo, Neighbourhood };

  explicit FindDialog(const CMapvineDoc& doc, QWidget* parent = nullptr);
  // After OK or a route button: the node found and what to do with it.
  CNode* Found() const { return found_; }
  Choice Chosen() const { return choice_; }

  // How many searches the list remembers.
  static constexpr int kRememberedSearches = 10;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Closes the dialog when the text names a node; says "not found" else.
  void Finish(Choice choice);
  void Remember(const QString& text) const;

  const CMapvineDoc& doc_;
  QComboBox* name_;
  QLabel* notice_;
  CNode* found_ = nullptr;
  Choice choice_ = Choice::Locate;
};

}  // namespace mapvine
