#pragma once
// Ending the program cleanly when the system asks it to end.

#include <QObject>
#include <functional>

// Calls `handler` on `context`'s thread, from its event loop, when the
// process receives SIGTERM, SIGINT or SIGHUP (where the platform has them),
// so that the program can close its windows and remove what it made. A
// second such signal ends the process as it would have without this.
void on_termination_request(QObject* context, std::function<void()> handler);
