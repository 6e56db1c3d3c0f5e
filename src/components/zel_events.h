#pragma once
// The event types of the library's components and controls: handlers are
// plain callables, called only when set.
#include <QChar>
#include <QObject>
#include <QString>
#include <functional>

using TNotifyEvent = std::function<void(QObject* sender)>;
// A typed character's handler; setting Key to 0 swallows the character.
using TKeyPressEvent = std::function<void(QObject* sender, QChar& key)>;
// Called for F1 with the caption of the window it was pressed in.
using TOnHelpEvent = std::function<void(QObject* sender, const QString& caption)>;
