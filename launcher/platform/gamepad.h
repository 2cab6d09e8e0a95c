#pragma once
// Game controllers (gamepads), through SDL2's game controller interface
// where the launcher was built with SDL2: every pad plugged in, before the
// launcher started or while it runs, reports its buttons by their place on
// the pad. Without SDL2 a Gamepad never reports anything.

#include <QObject>
#include <QTimer>
#include <memory>

// The pad's controls the launcher uses. The left stick counts as the
// direction pad, each trigger as a button.
enum class PadButton {
  Up,
  Down,
  Left,
  Right,
  A,
  B,
  X,
  Y,
  Back,
  Start,
  LeftShoulder,
  RightShoulder,
  LeftTrigger,
  RightTrigger,
};

class Gamepad : public QObject {
  Q_OBJECT
 public:
  explicit Gamepad(QObject* parent = nullptr);
  ~Gamepad() override;

  // True when pads can be read: the build has SDL2 and it started.
  bool available() const;

 signals:
  // A control went down or came up again, on any pad.
  void pressed(PadButton button);
  void released(PadButton button);

 private:
  void poll();
  // A control of pad `pad` (SDL's instance id) went down or up; reported
  // only when that changes what the pad holds down.
  void change(int pad, PadButton button, bool down);
  void move_axis(int pad, int axis, int value);

  struct Pads;
  std::unique_ptr<Pads> pads_;
  QTimer poll_;
};
