#pragma once
// The look every window of the program shares: the form colour and the
// installed fonts that stand for the design's Arial, Courier New and Fixedsys.
#include <QColor>
#include <QFont>

class QWidget;

inline constexpr const char* SansFamily = "Liberation Sans";    // the design's Arial
inline constexpr const char* MonoFamily = "Liberation Mono";    // the design's Courier New
inline constexpr const char* FixedFamily = "DejaVu Sans Mono";  // the design's Fixedsys

// The grey of the program's forms.
QColor FormColour();
// Gives Form the form colour as its background.
void SetFormColour(QWidget* form);
// The design sizes most text in pixels, not points.
QFont SansFont(int pixels);
QFont MonoFont(int pixels);
