// Pads through SDL2's game controller interface, read from the event loop:
// SDL's events are polled often while a pad is open, and seldom otherwise,
// which is enough to notice a pad being plugged in.

#include <SDL.h>

#include <QHash>
#include <QList>
#include <array>
#include <cstdlib>
#include <optional>

#include "platform/gamepad.h"

namespace {

constexpr int POLL_MS_WITH_PADS = 16;
constexpr int POLL_MS_WITHOUT = 250;
// A stick or trigger counts as pressed beyond PRESS, as released below RELEASE.
constexpr int PRESS = 16384;
constexpr int RELEASE = 8192;

std::optional<PadButton> button_of(int button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return PadButton::Up;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return PadButton::Down;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return PadButton::Left;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return PadButton::Right;
    case SDL_CONTROLLER_BUTTON_A:
      return PadButton::A;
    case SDL_CONTROLLER_BUTTON_B:
      return PadButton::B;
    case SDL_CONTROLLER_BUTTON_X:
      return PadButton::X;
    case SDL_CONTROLLER_BUTTON_Y:
      return PadButton::Y;
    case SDL_CONTROLLER_BUTTON_BACK:
      return PadButton::Back;
    case SDL_CONTROLLER_BUTTON_START:
      return PadButton::Start;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
      return PadButton::LeftShoulder;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
      return PadButton::RightShoulder;
    default:
      return std::nullopt;
  }
}

// The button an axis stands for when pushed to `side` (-1 or 1).
std::optional<PadButton> button_of_axis(int axis, int side) {
  switch (axis) {
    case SDL_CONTROLLER_AXIS_LEFTX:
      return side < 0 ? PadButton::Left : PadButton::Right;
    case SDL_CONTROLLER_AXIS_LEFTY:
      return side < 0 ? PadButton::Up : PadButton::Down;
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
      return PadButton::LeftTrigger;
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
      return PadButton::RightTrigger;
    default:
      return std::nullopt;
  }
}

// Where an axis at `value` stands: -1, 0 or 1, or `before` between the
// press and release marks, so that a stick held near one does not flicker.
int side_of(int value, int before) {
  if (value >= PRESS) return 1;
  if (value <= -PRESS) return -1;
  return std::abs(value) < RELEASE ? 0 : before;
}

}  // namespace

struct Gamepad::Pads {
  struct Pad {
    SDL_GameController* controller = nullptr;
    std::array<int, SDL_CONTROLLER_AXIS_MAX> sides{};
    QList<PadButton> down;  // to be released when the pad goes
  };
  bool started = false;
  QHash<SDL_JoystickID, Pad> open;
};

Gamepad::Gamepad(QObject* parent) : QObject(parent), pads_(std::make_unique<Pads>()) {
  // The launcher handles signals itself, and reads pads while another
  // program's window has the focus only to drop what they send.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  pads_->started = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  if (!pads_->started) return;
  connect(&poll_, &QTimer::timeout, this, &Gamepad::poll);
  poll_.start(POLL_MS_WITHOUT);
}

Gamepad::~Gamepad() {
  if (!pads_->started) return;
  for (const Pads::Pad& pad : std::as_const(pads_->open)) SDL_GameControllerClose(pad.controller);
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool Gamepad::available() const {
  return pads_->started;
}

void Gamepad::poll() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    switch (event.type) {
      case SDL_CONTROLLERDEVICEADDED:
        if (SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which)) {
          const SDL_JoystickID id =
              SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
          if (pads_->open.contains(id))
            SDL_GameControllerClose(controller);  // told twice of the same pad
          else
            pads_->open[id].controller = controller;
        }
        break;
      case SDL_CONTROLLERDEVICEREMOVED:
        if (pads_->open.contains(event.cdevice.which)) {
          const Pads::Pad pad = pads_->open.take(event.cdevice.which);
          SDL_GameControllerClose(pad.controller);
          for (const PadButton button : pad.down) emit released(button);
        }
        break;
      case SDL_CONTROLLERBUTTONDOWN:
      case SDL_CONTROLLERBUTTONUP:
        if (const auto button = button_of(event.cbutton.button))
          change(event.cbutton.which, *button, event.type == SDL_CONTROLLERBUTTONDOWN);
        break;
      case SDL_CONTROLLERAXISMOTION:
        move_axis(event.caxis.which, event.caxis.axis, event.caxis.value);
        break;
      default:
        break;
    }
  }
  poll_.setInterval(pads_->open.isEmpty() ? POLL_MS_WITHOUT : POLL_MS_WITH_PADS);
}

void Gamepad::change(int pad, PadButton button, bool down) {
  auto found = pads_->open.find(pad);
  if (found == pads_->open.end() || found->down.contains(button) == down) return;
  if (down) {
    found->down.append(button);
    emit pressed(button);
  } else {
    found->down.removeOne(button);
    emit released(button);
  }
}

void Gamepad::move_axis(int pad, int axis, int value) {
  auto found = pads_->open.find(pad);
  if (found == pads_->open.end() || axis < 0 || axis >= SDL_CONTROLLER_AXIS_MAX) return;
  const int before = found->sides[axis];
  const int now = side_of(value, before);
  if (now == before) return;
  found->sides[axis] = now;
  if (const auto button = before ? button_of_axis(axis, before) : std::nullopt)
    change(pad, *button, false);
  if (const auto button = now ? button_of_axis(axis, now) : std::nullopt)
    change(pad, *button, true);
}
