#pragma once
// The note button's rules that need no window: where its note window opens,
// the settings-file section it keeps its place in, and how long its text is.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

// Where the note window opens: beside its button, in the middle of the
// screen, or where it was last left (or placed by code).
enum TPIPosition { poAutoPos, poScreenCenter, poDesigned };

// "PostIt-" + Name, at most 20 characters.
QString PostItSection(const QString& name);
// Right of and below the button (Button in screen coordinates), flipped
// to its left or above it when the note would leave the screen; never
// closer than 8 pixels to the screen's top or left edge.
QPoint PostItAutoPos(const QRect& button, const QSize& note, const QSize& screen);
QPoint PostItCenterPos(const QSize& note, const QSize& screen);
// The note's length with a CR LF between its lines.
int PostItTextLength(const QStringList& lines);
// Text read as a whole number; Current where it is none.
int IniIntOr(const QString& text, int current);
