#pragma once
// The launcher's one way of telling the user something: a modal box.

#include <QString>
#include <functional>

// Shows `text` in a modal box titled "vorbel" with an OK button only and no
// icon, and returns when the user has dismissed it.
void show_message(const QString& text);

// Sends every later message to `sink` instead of a box (tests record them
// this way); an empty sink brings the box back.
using MessageSink = std::function<void(const QString&)>;
void set_message_sink(MessageSink sink);
