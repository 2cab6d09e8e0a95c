#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace {

MessageSink& message_sink() {
  static MessageSink sink;
  return sink;
}

}  // namespace

void show_message(const QString& text) {
  if (message_sink()) {
    message_sink()(text);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("vorbel"), text, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

void set_message_sink(MessageSink sink) {
  message_sink() = std::move(sink);
}
