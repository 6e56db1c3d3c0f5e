#pragma once
// Links that follow a rename: the pages and style sheets of a site that refer
// to a renamed file, read with the site check's reference reader, and their
// references rewritten in exactly the path part (query, fragment, quoting
// and every other byte kept; relative paths stay relative). Written with the
// change's journal, together with the renames, so one undo takes back both.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "site/site_change.h"

struct TLinkPage {
  QString Path;        // full path of the page or style sheet
  int References = 0;  // references rewritten in it
  QByteArray NewText;
  quint64 Print = 0;  // its bytes when they were read
};

struct TLinkPlan {
  QString Root;
  std::vector<TRename> Renames;
  std::vector<TLinkPage> Pages;
  int References() const;
};

// The pages of Root that refer to the old names of Renames (which are done),
// each with its new text.
TLinkPlan PlanLinkUpdate(const QString& root, const std::vector<TRename>& renames);

// The path part that names NewTarget for a reference whose path part was
// Written, in the page at PagePath, and named OldTarget (all relative to the
// root, "/"-separated bytes). FolderRef: Written named OldTarget's folder,
// whose index page it was.
QByteArray RewrittenPath(const QByteArray& written, const QByteArray& pagePath,
                         const QByteArray& oldTarget, const QByteArray& newTarget, bool folderRef);

// Writes the plan's pages with one journal that records the renames too.
TSiteChangeResult ApplyLinkUpdate(const TLinkPlan& plan, const QString& what);

// "N pages refer to OLD. Change their links to NEW?", or for several renames
// "N pages refer to the renamed files. Change their links to the new names?"
QString LinkQuestion(const TLinkPlan& plan);
