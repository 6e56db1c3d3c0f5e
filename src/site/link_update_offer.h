#pragma once
// The question after a rename or a Convert: "N pages refer to OLD. Change
// their links to NEW?", and on Yes the link changes through the journal,
// with the outcome shown. Used by the main window's Rename and the site
// window's Convert.
#include <QString>
#include <QStringList>
#include <vector>

#include "site/site_change.h"

// Returns the files whose links were changed (empty when none or on No).
QStringList OfferLinkUpdate(const QString& root, const std::vector<TRename>& renames,
                            const QString& title);
