#include "site/test_page.h"

#include <QUrl>

#include "app/web_links.h"
#include "site/site_listing.h"
#include "site/site_names.h"

namespace {

// Scheme and host of Address; of the address inside it for a web-archive
// copy, whose own host serves no validator.
QString SchemeAndHost(const QString& address) {
  QString source = address;
  const qsizetype inner = address.indexOf(QLatin1String("http"), 8);
  if (inner > 0 && address.mid(inner).contains(QLatin1String("://"))) source = address.mid(inner);
  const QUrl url(source);
  if (!url.isValid() || url.host().isEmpty()) return {};
  QString result = url.scheme() + QLatin1String("://") + url.host();
  if (url.port() >= 0) result += u':' + QString::number(url.port());
  return result;
}

bool EndsWithAny(const QString& entry, std::initializer_list<const char*> ends) {
  const QString last = entry.right(4).toUpper();
  for (const char* e : ends)
    if (last == QLatin1String(e)) return true;
  return false;
}

// Leading blanks and the size column off: what follows the first blank.
QString AfterSizeColumn(const QString& line) {
  qsizetype start = 0;
  while (start < line.size() && line[start] == u' ') ++start;
  const qsizetype blank = line.indexOf(u' ', start);
  return blank < 0 ? QString() : line.mid(blank + 1);
}

void AppendImages(TZELFileManager& managerImg, const QString& remoteRoot, QStringList& images) {
  const QString root = ListingRoot(managerImg);
  for (const QString& line : managerImg.ResultList())
    images.append(remoteRoot + AfterSizeColumn(RelativeLine(line, root)));
}

const char* const Head[] = {
    "<HTML>",
    "<HEAD>",
    "\t<STYLE type=\"text/css\">",
    "\t<!--",
    "\t\tBODY      {color : #000099; background-color: #eeeeee; text-align: center}",
    "\t\tA:visited {color : #888888; background-color: #eeeeee; }",
    "\t\tA:hover   {color : #ff0000; background-color: #eeeeee; }",
    "\t\tA:active  {color : #ff00ff; background-color: #eeeeee; }",
    "\t\tA         {color : #0000ff; background-color: #eeeeee; }",
    "\t-->",
    "\t</STYLE>",
    "</HEAD>",
    "<BODY>"};

const char* const PageTableHead[] = {
    "<BR>",
    "<H3 style=\"color: red\">Check your pages with the WWW-Consortium Validators...</H3>",
    "",
    "<TABLE width=\"90%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">",
    "\t<COL width=\"12%\" style=\"text-align: center\">",
    "\t<COL width=\"12%\" style=\"text-align: center\">",
    "\t<COL style=\"text-align: left\">",
    "\t<TR>",
    "\t\t<TH>HTML Validator</TH>",
    "\t\t<TH>CSS Validator</TH>",
    "\t\t<TH>Your URI</TH>",
    "\t</TR>"};

const char* const ImageTableHead[] = {
    "</TABLE>",
    "",
    "<P>",
    "\t<BR>",
    "</P>",
    "",
    "<H3 style=\"color: red\">Improve your performance by reducing the images ...</H3>",
    "",
    "<TABLE width=\"90%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">",
    "\t<COL width=\"24%\" style=\"text-align: center\">",
    "\t<COL style=\"text-align: left\">",
    "\t<TR>",
    "\t\t<TH>Try to reduce</TH>",
    "\t\t<TH>Your URI</TH>",
    "\t</TR>"};

const char* const Foot[] = {"</TABLE>", "", "</BODY>", "</HTML>"};

template <std::size_t N>
void AppendAll(QStringList& lines, const char* const (&rows)[N]) {
  for (const char* row : rows) lines.append(QString::fromLatin1(row));
}

}  // namespace

TServiceRoots ServiceRoots(const QString& iniFileName) {
  return {SchemeAndHost(WebLinkAddress(926, iniFileName)),
          SchemeAndHost(WebLinkAddress(927, iniFileName)),
          SchemeAndHost(WebLinkAddress(928, iniFileName)),
          SchemeAndHost(WebLinkAddress(929, iniFileName))};
}

bool IsPage(const QString& entry) { return EndsWithAny(entry, {".HTM", "HTML", ".ASP"}); }

QString RemoteRootWithSlash(const QString& remoteRoot) {
  return remoteRoot.endsWith(u'/') ? remoteRoot : remoteRoot + u'/';
}

QStringList BuildPageList(TZELFileManager& manager, const QString& localRoot, const QString& mask,
                          bool inclSubDirs, const QString& prefix) {
  manager.SetWorkingDir(localRoot);
  manager.SetOptions(inclSubDirs ? fmIncludeSubDirs : 0);
  manager.SetSearchMask(mask);
  manager.List();
  const QString root = ListingRoot(manager);
  QStringList pages;
  pages.reserve(manager.ResultList().size());
  for (const QString& line : manager.ResultList()) pages.append(prefix + RelativeLine(line, root));
  return pages;
}

QStringList BuildImageList(TZELFileManager& managerImg, const QString& localRoot,
                           const QString& remoteRoot, bool inclSubDirs) {
  managerImg.SetWorkingDir(localRoot);
  managerImg.SetOptions(fmShowSize | fmShowSizeRO | (inclSubDirs ? fmIncludeSubDirs : 0));
  managerImg.SetSearchMask(QStringLiteral("*.JP*"));
  managerImg.List();
  managerImg.SetSortOrder(soSize);
  if (!managerImg.Stopped()) managerImg.List();
  QStringList images;
  if (managerImg.Stopped()) return images;
  AppendImages(managerImg, remoteRoot, images);
  managerImg.SetSearchMask(QStringLiteral("*.GIF"));
  managerImg.List();
  AppendImages(managerImg, remoteRoot, images);
  return images;
}

QStringList WriteTestPage(const QStringList& pages, const QStringList& images,
                          const QString& remoteRoot, const TServiceRoots& services) {
  QStringList lines;
  AppendAll(lines, Head);
  for (const QString& page : pages) {
    const QString entry = AddressPath(page);
    const QString tail = entry.mid(remoteRoot.size()).toLower();
    if (!tail.startsWith(QLatin1String("index.")) && !tail.startsWith(QLatin1String("home.")))
      continue;
    lines << QStringLiteral("<BR>")
          << QStringLiteral(
                 "<H3 style=\"color: red\">Check your entire site with the WDG "
                 "Validator...</H3>")
          << QStringLiteral("<P>")
          << QStringLiteral(
                 "<A href=\"%1/cgi-bin/validate.cgi?url=%2&spider=yes\" "
                 "target=\"wdgval\">Check entire site</A></TD>")
                 .arg(services.WDGValidator, entry)
          << QStringLiteral("</P>");
    break;
  }
  AppendAll(lines, PageTableHead);
  for (const QString& entry : pages) {
    if (!IsPage(entry)) continue;
    const QString page = AddressPath(entry);
    lines << QStringLiteral("\t<TR>")
          << QStringLiteral("\t\t<TD><A href=\"%1/check?uri=%2\" target=\"w3val\">Check</A></TD>")
                 .arg(services.W3CValidator, page)
          << QStringLiteral(
                 "\t\t<TD><A href=\"%1/css-validator/validator?uri=%2\" "
                 "target=\"w3css\">Check</A></TD>")
                 .arg(services.CSSValidator, page)
          << QStringLiteral("\t\t<TD><A href=\"%1\" target=\"page\">%1</A></TD>").arg(page)
          << QStringLiteral("\t</TR>");
  }
  AppendAll(lines, ImageTableHead);
  for (const QString& entry : images) {
    if (!EndsWithAny(entry, {".GIF", ".JPG", "JPEG"})) continue;
    const QString image = AddressPath(entry);
    lines << QStringLiteral("\t<TR>")
          << QStringLiteral(
                 "\t\t<TD><A href=\"%1/aps6/gifbot/gifbot.cgi?url=%2&site_name="
                 "NetMechanic&outputtype=1&robot=gifbot\" target=\"_blank\">Try</A></TD>")
                 .arg(services.GIFBot, image)
          << QStringLiteral("\t\t<TD>%1</TD>").arg(image) << QStringLiteral("\t</TR>");
  }
  AppendAll(lines, Foot);
  return lines;
}
