#include "platform/toolkit_rules.h"

void on_activate(QWidget* window, std::function<void()> handler) {
  // Every watcher follows the focus itself, so it knows which of the
  // program's windows was active last.
  auto previous = std::make_shared<QPointer<QWindow>>();
  QObject::connect(qApp, &QGuiApplication::focusWindowChanged, window,
                   [window, handler = std::move(handler), previous](QWindow* now) {
                     if (!now) return;  // another application has the focus
                     const bool fromElsewhere = previous->isNull() || *previous != now;
                     *previous = now;
                     if (fromElsewhere && now == window->windowHandle()) handler();
                   });
}
