#include "app/picture_view.h"

#include <QMouseEvent>
#include <QPainter>

namespace halvane {

PictureView::PictureView(int width, int height, Source source, QWidget* parent)
    : QWidget(parent), source_(std::move(source)) {
  setFixedSize(width, height);
  setMouseTracking(true);
}

void PictureView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QImage picture = source_ ? source_() : QImage();
  if (picture.isNull()) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  painter.drawImage(0, 0, picture);
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  emit PointerMoved(p.x(), p.y());
  QWidget::mouseMoveEvent(event);
}

}  // namespace halvane
