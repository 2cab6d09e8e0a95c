#include "platform/twips.h"

#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <QWindow>
#include <cmath>

namespace {

constexpr int TWIPS_PER_INCH = 1440;
constexpr int DEFAULT_FRAME_HEIGHT = 375;
constexpr int DEFAULT_FRAME_WIDTH = 120;

double dots_per_inch(bool horizontal) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return 96.0;
  return horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
}

int to_pixels(int twips, bool horizontal) {
  return static_cast<int>(std::lround(twips * dots_per_inch(horizontal) / TWIPS_PER_INCH));
}

int to_twips(int pixels, bool horizontal) {
  return static_cast<int>(std::lround(pixels * TWIPS_PER_INCH / dots_per_inch(horizontal)));
}

// The frame in twips along one axis, as described in the header: the
// window system's once the window has been created and it reports one.
int frame_twips(const QWidget* window, bool horizontal) {
  if (const QWindow* handle = window->windowHandle()) {
    const QMargins frame = handle->frameMargins();
    const int pixels = horizontal ? frame.left() + frame.right() : frame.top() + frame.bottom();
    if (pixels > 0) return to_twips(pixels, horizontal);
  }
  return horizontal ? DEFAULT_FRAME_WIDTH : DEFAULT_FRAME_HEIGHT;
}

const char* remembered_twips(bool horizontal) {
  return horizontal ? "vorbel.outerWidthTwips" : "vorbel.outerHeightTwips";
}

const char* remembered_pixels(bool horizontal) {
  return horizontal ? "vorbel.clientWidthPixels" : "vorbel.clientHeightPixels";
}

int client_pixels(const QWidget* window, bool horizontal) {
  return horizontal ? window->width() : window->height();
}

int outer_size(const QWidget* window, bool horizontal) {
  const QVariant twips = window->property(remembered_twips(horizontal));
  const QVariant pixels = window->property(remembered_pixels(horizontal));
  if (twips.isValid() && pixels.toInt() == client_pixels(window, horizontal)) return twips.toInt();
  return to_twips(client_pixels(window, horizontal), horizontal) + frame_twips(window, horizontal);
}

// A window whose minimum and maximum sizes agree keeps that fixed size; any
// other window is simply resized.
void resize_client(QWidget* window, int pixels, bool horizontal) {
  if (horizontal) {
    if (window->minimumWidth() == window->maximumWidth())
      window->setFixedWidth(pixels);
    else
      window->resize(pixels, window->height());
  } else {
    if (window->minimumHeight() == window->maximumHeight())
      window->setFixedHeight(pixels);
    else
      window->resize(window->width(), pixels);
  }
}

void set_outer_size(QWidget* window, int twips, bool horizontal) {
  const int before = outer_size(window, horizontal);
  const int pixels = std::max(0, to_pixels(twips - frame_twips(window, horizontal), horizontal));
  const bool samePixels = pixels == client_pixels(window, horizontal);
  // Remembered first, so the window's own resize handling reads the size
  // that was set.
  window->setProperty(remembered_twips(horizontal), twips);
  window->setProperty(remembered_pixels(horizontal), pixels);
  resize_client(window, pixels, horizontal);
  if (samePixels && before != twips && window->isVisible()) {
    QResizeEvent event(window->size(), window->size());
    QCoreApplication::sendEvent(window, &event);
  }
}

}  // namespace

int twips_to_pixels_x(int twips) {
  return to_pixels(twips, true);
}
int twips_to_pixels_y(int twips) {
  return to_pixels(twips, false);
}
int pixels_to_twips_x(int pixels) {
  return to_twips(pixels, true);
}
int pixels_to_twips_y(int pixels) {
  return to_twips(pixels, false);
}

void place(QWidget* control, int left, int top, int width, int height) {
  control->setGeometry(twips_to_pixels_x(left), twips_to_pixels_y(top), twips_to_pixels_x(width),
                       twips_to_pixels_y(height));
}

void set_left(QWidget* control, int left) {
  control->move(twips_to_pixels_x(left), control->y());
}
void set_top(QWidget* control, int top) {
  control->move(control->x(), twips_to_pixels_y(top));
}
void set_width(QWidget* control, int width) {
  control->resize(twips_to_pixels_x(width), control->height());
}
void set_height(QWidget* control, int height) {
  control->resize(control->width(), twips_to_pixels_y(height));
}
int left_of(const QWidget* control) {
  return pixels_to_twips_x(control->x());
}
int top_of(const QWidget* control) {
  return pixels_to_twips_y(control->y());
}
int width_of(const QWidget* control) {
  return pixels_to_twips_x(control->width());
}
int height_of(const QWidget* control) {
  return pixels_to_twips_y(control->height());
}

int outer_left(const QWidget* window) {
  return pixels_to_twips_x(window->x());
}
int outer_top(const QWidget* window) {
  return pixels_to_twips_y(window->y());
}
int outer_width(const QWidget* window) {
  return outer_size(window, true);
}
int outer_height(const QWidget* window) {
  return outer_size(window, false);
}

void move_outer(QWidget* window, int left, int top) {
  window->move(twips_to_pixels_x(left), twips_to_pixels_y(top));
}
void set_outer_width(QWidget* window, int width) {
  set_outer_size(window, width, true);
}
void set_outer_height(QWidget* window, int height) {
  set_outer_size(window, height, false);
}
