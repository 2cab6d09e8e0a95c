// make_picture WIDTH HEIGHT CAPTION OUT.jpg: writes a preview picture for the
// demo collection, a colour gradient with the caption written across it.

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <cstdio>

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList arguments = QGuiApplication::arguments();
  bool widthOk = false;
  bool heightOk = false;
  const int width = arguments.value(1).toInt(&widthOk);
  const int height = arguments.value(2).toInt(&heightOk);
  if (arguments.size() != 5 || !widthOk || !heightOk || width <= 0 || height <= 0) {
    std::fprintf(stderr, "usage: make_picture WIDTH HEIGHT CAPTION OUT.jpg\n");
    return 2;
  }
  const QString& caption = arguments[3];
  QImage image(width, height, QImage::Format_RGB32);
  QPainter painter(&image);
  // Each caption gets its own colours.
  const int hue = static_cast<int>(qHash(caption) % 360);
  QLinearGradient gradient(0, 0, width, height);
  gradient.setColorAt(0, QColor::fromHsv(hue, 200, 220));
  gradient.setColorAt(1, QColor::fromHsv((hue + 60) % 360, 255, 90));
  painter.fillRect(image.rect(), gradient);
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(std::max(12, height / 8));
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(image.rect(), Qt::AlignCenter | Qt::TextWordWrap, caption);
  painter.end();
  if (!image.save(arguments[4], "JPEG", 90)) {
    std::fprintf(stderr, "make_picture: cannot write %s\n", qPrintable(arguments[4]));
    return 1;
  }
  return 0;
}
