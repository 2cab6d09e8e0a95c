#include "platform/termination.h"

#ifdef Q_OS_WIN

void on_termination_request(QObject* context, std::function<void()> handler) {
  // Windows asks a window program to end with a close message, which closes
  // the window as the close box does.
  Q_UNUSED(context);
  Q_UNUSED(handler);
}

#else

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

namespace {

int signal_pipe[2] = {-1, -1};  // written by the signal handler, read by the loop

void note_signal(int number) {
  const int saved = errno;
  const char byte = static_cast<char>(number);
  [[maybe_unused]] const ssize_t written = write(signal_pipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

void on_termination_request(QObject* context, std::function<void()> handler) {
  if (signal_pipe[0] < 0 && socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signal_pipe) != 0)
    return;
  auto* notifier = new QSocketNotifier(signal_pipe[0], QSocketNotifier::Read, context);
  QObject::connect(notifier, &QSocketNotifier::activated, context,
                   [notifier, handler = std::move(handler)] {
                     char byte = 0;
                     if (read(signal_pipe[0], &byte, 1) != 1) return;
                     notifier->setEnabled(false);
                     handler();
                   });
  struct sigaction action {};
  action.sa_handler = note_signal;
  sigemptyset(&action.sa_mask);
  // Once caught, the next signal has its usual effect: a program stuck on
  // its way out can still be ended.
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  for (const int number : {SIGTERM, SIGINT, SIGHUP}) sigaction(number, &action, nullptr);
}

#endif
