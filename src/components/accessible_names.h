#pragma once
// Names for screen readers. A control that shows no text of its own (a glyph
// button, an edit, a list) has no accessible name, and a reader says only
// "button" or "edit"; its hint says what it is for, so the hint becomes its
// name. Each window calls this once its controls are built.
class QWidget;

// Gives every control under Window that has a hint, no accessible name and
// no text of its own that hint as its name.
void NameControlsByHints(QWidget* window);
