#pragma once
// The web addresses behind the Help menu's references and the update check.
// Each has a built-in default that a key of the settings file's [Links]
// section replaces; the program reads that section and never writes it.
#include <QString>

// The [Links] key of a command's address, empty for a tag without one.
QString WebLinkKey(int tag);
// The address command Tag opens, empty when none is known (the update page
// has no built-in address). The update address gets "qme=2.60" as its query.
QString WebLinkAddress(int tag, const QString& iniFileName);
