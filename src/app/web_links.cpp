#include "app/web_links.h"

#include "app/command_table.h"
#include "config/ini_helpers.h"

namespace {

struct TWebLink {
  int Tag;
  const char* Key;
  const char* Default;
};

// Where a party no longer serves its page, the web archive's copy of that
// same address stands in.
const TWebLink kLinks[] = {
    {cmdHelpUpdates, "Updates", ""},
    {cmdHelpHTML, "HTML40", "https://www.w3.org/TR/html4/index/elements.html"},
    {cmdHelpCSS, "CSS2", "https://www.w3.org/TR/REC-CSS2/indexlist.html"},
    {cmdHelpJS, "JavaScript13",
     "https://web.archive.org/web/2002/http://developer.netscape.com/docs/manuals/js/client/"
     "jsref/index.htm"},
    {cmdHelpWDG, "WDGValidator", "https://www.htmlhelp.com/tools/validator/"},
    {cmdHelpW3CPage, "W3CValidator", "https://validator.w3.org/"},
    {cmdHelpW3CCSS, "CSSValidator", "https://jigsaw.w3.org/css-validator/"},
    {cmdHelpGifBot, "GIFBot",
     "https://web.archive.org/web/2002/http://www.netmechanic.com/GIFBot/optimize-graphic.htm"},
};

const TWebLink* Find(int tag) {
  for (const TWebLink& l : kLinks)
    if (l.Tag == tag) return &l;
  return nullptr;
}

}  // namespace

QString WebLinkKey(int tag) {
  const TWebLink* l = Find(tag);
  return l ? QString::fromLatin1(l->Key) : QString();
}

QString WebLinkAddress(int tag, const QString& iniFileName) {
  const TWebLink* l = Find(tag);
  if (!l) return {};
  QString address = ReadIniStr("Links", l->Key, QString::fromLatin1(l->Default), iniFileName);
  if (tag == cmdHelpUpdates && !address.isEmpty())
    address += QString(address.contains('?') ? "&" : "?") + "qme=2.60";
  return address;
}
