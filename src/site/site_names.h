#pragma once
// Paths of the site as its outputs show them. A path holds a name by its own
// bytes (components/file_names.h), and a name may hold any byte but "/" and NUL, a
// line break included: no output line may be split or forged by one.
#include <QString>

// The path as a listing or a message shows it: a kept byte as U+FFFD, a
// control character escaped as \t, \n, \r or \xHH, so it stays on one line.
QString ListedName(const QString& path);

// A relative path as an address in robots.txt or the test page: a control
// character, a kept byte and the characters that would end an HTML
// attribute (" < >) percent-encoded; every other character as it stands.
QString AddressPath(const QString& path);

// A relative path percent-encoded as a URL path wants it (blanks, "%",
// non-ASCII, controls; the separator and the sub-delimiters stay), as a
// sitemap's addresses must be.
QString EncodedUrlPath(const QString& path);
