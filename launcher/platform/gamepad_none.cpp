// A build without SDL2: no pad is ever seen.

#include "platform/gamepad.h"

struct Gamepad::Pads {};

Gamepad::Gamepad(QObject* parent) : QObject(parent) {}

Gamepad::~Gamepad() = default;

bool Gamepad::available() const {
  return false;
}

void Gamepad::poll() {}

void Gamepad::change(int, PadButton, bool) {}

void Gamepad::move_axis(int, int, int) {}
