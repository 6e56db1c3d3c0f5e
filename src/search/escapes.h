#pragma once
// The escape codes of the search and replace boxes: "%009", "%013" and
// "%010" stand for tab, CR and LF, so that a search can cross line breaks.
#include <QString>

// Text with every "%009" turned into a tab, then every "%013" into CR, then
// every "%010" into LF, each left to right without overlap. Any other "%"
// stays as it is.
QString DecodeEscapes(const QString& text);
