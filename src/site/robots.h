#pragma once
// The site window's Robots.txt, and the sitemap that quillmere-site writes
// beside it: both read the pages of the page list (relative "/" paths).
#include <QString>
#include <QStringList>

// Suggested name of a saved robots.txt, in the local root.
inline constexpr char RobotsFileName[] = "robots.txt";

// Does the page's text hold a line with both "robots" and "noindex"
// (without regard to case)? Throws EInOutError when the file cannot be read.
bool PageSaysNoIndex(const QString& fileName);

// "User-agent: *", then "Disallow: /" + path for every page of Pages whose
// source marks it noindex. A page that cannot be read stops the generation:
// Failure gets the reason and the lines so far are returned.
QStringList WriteRobots(const QStringList& pages, const QString& localRoot,
                        QString* failure = nullptr);

// A sitemaps.org 0.9 urlset of every page of Pages with its last
// modification (UTC), leaving out the pages robots.txt disallows. Addresses
// are RemoteRoot (with "/") + path, XML-escaped. A page that cannot be read
// stops the generation as in WriteRobots; the lines are then empty.
QStringList WriteSitemap(const QStringList& pages, const QString& localRoot,
                         const QString& remoteRoot, QString* failure = nullptr);
