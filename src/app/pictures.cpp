#include "app/pictures.h"

#include <cmath>
#include <numbers>

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "app/qt_convert.h"
#include "workflow/control_model.h"

namespace halvane {
namespace {

// A faint dome of evenly spread dots, seen slightly from above: points of the
// upper hemisphere on a golden-angle spiral, nearer dots brighter.
void DrawDome(QPainter& painter, QPointF base, double radius) {
  constexpr int kDots = 420;
  constexpr double kTilt = 0.38;
  const double golden = std::numbers::pi * (3.0 - std::sqrt(5.0));
  painter.setPen(Qt::NoPen);
  for (int i = 0; i < kDots; ++i) {
    const double y = (i + 0.5) / kDots;  // height above the ground, 0..1
    const double ring = std::sqrt(1.0 - y * y);
    const double angle = golden * i;
    const double x = ring * std::cos(angle);
    const double z = ring * std::sin(angle);
    const QPointF at(base.x() + radius * x,
                     base.y() - radius * (y * std::cos(kTilt) - z * std::sin(kTilt)));
    const double nearness = (z * std::cos(kTilt) + y * std::sin(kTilt) + 1.0) / 2.0;
    painter.setBrush(QColor(255, 214, 150, static_cast<int>(35 + 110 * nearness)));
    const double size = 1.0 + 1.6 * nearness;
    painter.drawEllipse(at, size, size);
  }
  painter.setPen(QPen(QColor(255, 214, 150, 45), 1.0));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(base, radius, radius * std::sin(kTilt));
}

}  // namespace

QImage TitlePicture(int width, int height) {
  QImage picture(width, height, QImage::Format_RGB888);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);

  QRadialGradient sky(QPointF(width * 0.5, height * 0.62), width * 0.75);
  sky.setColorAt(0.0, QColor(38, 58, 92));
  sky.setColorAt(0.6, QColor(16, 26, 46));
  sky.setColorAt(1.0, QColor(6, 9, 18));
  painter.fillRect(picture.rect(), sky);

  DrawDome(painter, QPointF(width * 0.5, height * 0.72), width * 0.38);

  QFont titleFont = painter.font();
  titleFont.setPixelSize(height / 11);
  titleFont.setBold(true);
  painter.setFont(titleFont);
  painter.setPen(QColor(222, 230, 245));
  painter.drawText(QRect(0, height / 8, width, height / 6), Qt::AlignCenter,
                   QStringLiteral("ZR_Halvane"));
  return picture;
}

QImage OutOfRangeLegend(int width, int height) {
  static const char* const kLabels[] = {"-2", "-1", "0", "1", "2", "4", "8", "16"};
  static const QColor kColors[] = {Qt::blue, Qt::magenta, Qt::black, Qt::white,
                                   Qt::red,  Qt::yellow,  Qt::green, Qt::cyan};
  constexpr int kStops = 8;

  QImage legend(width, height, QImage::Format_RGB888);
  QPainter painter(&legend);
  painter.fillRect(legend.rect(), ToQColor(kWindowColor));

  const double cell = static_cast<double>(width) / kStops;
  const int stripHeight = height / 2;
  QLinearGradient strip(cell / 2, 0, width - cell / 2, 0);
  for (int i = 0; i < kStops; ++i)
    strip.setColorAt(static_cast<double>(i) / (kStops - 1), kColors[i]);
  painter.fillRect(QRect(0, 0, width, stripHeight), strip);

  QFont small = painter.font();
  small.setPixelSize(height - stripHeight - 1);
  painter.setFont(small);
  painter.setPen(Qt::white);
  for (int i = 0; i < kStops; ++i) {
    const QRectF box(i * cell, stripHeight, cell, height - stripHeight);
    painter.drawText(box, Qt::AlignHCenter | Qt::AlignBottom, QString::fromLatin1(kLabels[i]));
  }
  return legend;
}

QImage WrapBitmap(const Bitmap& bitmap) {
  if (bitmap.empty()) return QImage();
  return QImage(bitmap.data(), bitmap.width(), bitmap.height(), bitmap.bytesPerLine(),
                QImage::Format_RGB888);
}

}  // namespace halvane
