#pragma once

#include <functional>

#include <QImage>
#include <QWidget>

namespace halvane {

// A fixed-size picture control. It paints whatever its source returns at
// paint time, so a source may wrap memory that changes between repaints.
class PictureView : public QWidget {
  Q_OBJECT

 public:
  using Source = std::function<QImage()>;

  PictureView(int width, int height, Source source, QWidget* parent = nullptr);

 signals:
  // The mouse moved over the picture; picture coordinates.
  void PointerMoved(int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  Source source_;
};

}  // namespace halvane
