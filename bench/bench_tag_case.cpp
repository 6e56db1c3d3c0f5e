#include <QFile>
#include <QRandomGenerator>
#include <cstdio>

#include "bench.h"
#include "html/tag_case.h"

namespace {

// About 10 MB of the markup a small site's pages hold: lower-case tags with
// attributes, tables, lists, links, a script, comments, entities and text.
std::string RealLookingPage(std::size_t size) {
  static const char* const words[] = {"the",    "site",  "page",        "news",  "contact", "about",
                                      "price",  "euro",  "caf&eacute;", "menu",  "photo",   "open",
                                      "monday", "order", "&amp;",       "table", "view",    "link"};
  // Every block takes the same arguments: three words, a number, a word.
  static const char* const blocks[] = {
      "<p class=\"intro\">%s <b>%s</b> %s <a href=\"page%d.html\">%s</a>.</p>\r\n",
      "<table width=\"100%%\" border=\"0\" cellpadding=\"2\">\r\n<tr>\r\n<td valign=\"top\">%s "
      "%s</td>\r\n<td><img src=\"img/%s%d.gif\" width=\"80\" height=\"60\" alt=\"%s\"></td>\r\n"
      "</tr>\r\n</table>\r\n",
      "<ul>\r\n<li><a href=\"%s.html\">%s</a>\r\n<li><a href=\"%s%d.html\">%s</a>\r\n</ul>\r\n",
      "<div align=\"center\"><font face=\"Arial\" size=\"2\">%s %s %s &copy; %d "
      "%s</font></div>\r\n",
      "<!-- %s %s %s %d %s -->\r\n<br>\r\n<hr noshade>\r\n",
      "<script type=\"text/javascript\">\r\nvar s = \"%s %s %s\"; if (a<b) x=%d; // "
      "%s\r\n</script>\r\n",
      "<h2>%s %s</h2>\r\n<form action=\"%s.cgi\" method=\"post\"><input type=\"text\" name=\"q%d\" "
      "value=\"%s\"></form>\r\n"};
  QRandomGenerator random(7);
  auto word = [&] { return words[random.bounded(int(std::size(words)))]; };
  std::string page =
      "<html>\r\n<head>\r\n<title>Demo</title>\r\n</head>\r\n<body bgcolor=\"#ffffff\">\r\n";
  char buffer[1024];
  while (page.size() < size) {
    const char* block = blocks[random.bounded(int(std::size(blocks)))];
    std::snprintf(buffer, sizeof buffer, block, word(), word(), word(), random.bounded(100),
                  word());
    page += buffer;
  }
  return page + "</body>\r\n</html>\r\n";
}

}  // namespace

QUILLMERE_BENCH(tag_case) {
  const std::string page = RealLookingPage(10 * 1024 * 1024);
  const QString in = BenchDir() + "/page.htm";
  const QString out = BenchDir() + "/page_upper.htm";
  QFile f(in);
  if (!f.open(QIODevice::WriteOnly) ||
      f.write(page.data(), qint64(page.size())) != qint64(page.size())) {
    std::printf("cannot write %s\n", qPrintable(in));
    return;
  }
  f.close();
  std::size_t found = 0;
  const double memory = MedianSeconds(7, [&] { found = ConvertTagCase(page, true).NamesFound; });
  const double fileToFile = MedianSeconds(7, [&] {
    QFile src(in), dst(out);
    if (!src.open(QIODevice::ReadOnly) || !dst.open(QIODevice::WriteOnly)) return;
    const QByteArray bytes = src.readAll();
    const TTagCaseResult r = ConvertTagCase(bytes.toStdString(), true);
    dst.write(r.Text.data(), qint64(r.Text.size()));
  });
  const double tr = MedianShellSeconds(
      7, QString("LC_ALL=C tr '[:lower:]' '[:upper:]' < '%1' > '%2'").arg(in, out));
  std::printf("%.1f MB, %zu tag names\n", page.size() / 1048576.0, found);
  PrintRatio("tag case in memory vs tr", memory, tr, 3);
  PrintRatio("tag case file to file vs tr", fileToFile, tr, 3);
}
