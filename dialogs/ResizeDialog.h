#pragma once

#include <QDialog>

class QLineEdit;

namespace mapvine {

// The largest picture side the resize dialog accepts, in pixels.
inline constexpr int kMaxPictureSide = 32768;

// "Resize Window": the picture's new width ("box1000") and height
// ("box1001") in pixels.
class ResizeDialog final : public QDialog {
  Q_OBJECT

 public:
  ResizeDialog(int width, int height, QWidget* parent = nullptr);

  // The confirmed size; meaningful after OK.
  int Width() const { return width_; }
  int Height() const { return height_; }

  // OK: refused, with the dialog left open, while either number is not an
  // integer within 0..32768. The height is checked first.
  void accept() override;

 private:
  QLineEdit* widthBox_;
  QLineEdit* heightBox_;
  int width_;
  int height_;
};

}  // namespace mapvine
