#pragma once
// The site window's Testpage: the page and image address lists from the
// site's tree and the HTML page that links them to the validators and the
// image-reduction service.
#include <QString>
#include <QStringList>

#include "site/file_manager.h"

// Suggested name of a saved test page, in the local root.
inline constexpr char TestPageFileName[] = "qme_____.htm";

// Scheme and host (no trailing "/") of each service the test page links to,
// taken from the settings file's [Links] addresses or their built-in
// defaults.
struct TServiceRoots {
  QString WDGValidator;
  QString W3CValidator;
  QString CSSValidator;
  QString GIFBot;
};
TServiceRoots ServiceRoots(const QString& iniFileName);

// An entry whose last four characters, in upper case, are ".HTM", "HTML" or
// ".ASP".
bool IsPage(const QString& entry);
// RemoteRoot with "/" appended unless it ends with one.
QString RemoteRootWithSlash(const QString& remoteRoot);

// Walks LocalRoot on Manager (Mask, sub-folders when InclSubDirs, no
// columns) and gives, in walk order, every file's path relative to the
// local root with "/" separators, Prefix in front (the remote root for the
// test page, empty for robots.txt). All files, not only pages.
QStringList BuildPageList(TZELFileManager& manager, const QString& localRoot, const QString& mask,
                          bool inclSubDirs, const QString& prefix = {});

// The image addresses on ManagerImg: the "*.JP*" files by size, smallest
// first, then the "*.GIF" files by size; RemoteRoot in front. Leaves
// ManagerImg sorted by size. Stopped (ManagerImg.Stopped()), the list is cut short.
QStringList BuildImageList(TZELFileManager& managerImg, const QString& localRoot,
                           const QString& remoteRoot, bool inclSubDirs);

// The test page's lines: head, the WDG block for the home page (the first
// entry right under RemoteRoot named index.* or home.*, any case), a row per
// page of Pages and per JPEG and GIF of Images.
QStringList WriteTestPage(const QStringList& pages, const QStringList& images,
                          const QString& remoteRoot, const TServiceRoots& services);
