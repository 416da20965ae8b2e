#pragma once

class QDialog;
class QWidget;

namespace mapvine {

// The help window: a short guide to the picture, its colours and commands.
QDialog* CreateHelpWindow(QWidget* parent);

}  // namespace mapvine
