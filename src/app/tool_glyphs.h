#pragma once
// The tool bar's glyphs, drawn in code so that they need no image files and
// stay sharp at any scale; Qt derives the disabled look from them.
#include <QIcon>

enum class TGlyph { View, Cancel, Save, SaveAs, Settings, NewInstance, HTML, SpecChar, Help };

QIcon ToolGlyph(TGlyph glyph);
