#pragma once
// Positions and sizes in twips (1/1440 inch), converted with the screen's
// logical resolution: 15 twips a pixel at 96 DPI.
//
// Window sizes are outer sizes, frame and title bar included. The frame is
// the one the window system reports once the window is on screen; where it
// reports none (before the window is created, or without a window manager) a frame
// of 375 twips vertically and 120 horizontally is assumed, so the layout is
// the same everywhere. A size set in twips reads back exactly as long as the
// window keeps the pixel size it was given; otherwise it is converted from
// pixels and may differ from what was set by less than a pixel.

class QWidget;

int twips_to_pixels_x(int twips);
int twips_to_pixels_y(int twips);
int pixels_to_twips_x(int pixels);
int pixels_to_twips_y(int pixels);

// A control's place inside its parent (window client area or frame).
void place(QWidget* control, int left, int top, int width, int height);
void set_left(QWidget* control, int left);
void set_top(QWidget* control, int top);
void set_width(QWidget* control, int width);
void set_height(QWidget* control, int height);
int left_of(const QWidget* control);
int top_of(const QWidget* control);
int width_of(const QWidget* control);
int height_of(const QWidget* control);

// A window's outer geometry. Setting a size that maps to the pixel size the
// window already has still runs its resize handling, because in twips the
// size did change.
int outer_left(const QWidget* window);
int outer_top(const QWidget* window);
int outer_width(const QWidget* window);
int outer_height(const QWidget* window);
void move_outer(QWidget* window, int left, int top);
void set_outer_width(QWidget* window, int width);
void set_outer_height(QWidget* window, int height);
