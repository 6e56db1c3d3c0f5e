#include "app/web_links.h"

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
    {903, "Updates", ""},
    {921, "HTML40", "https://www.w3.org/TR/html4/index/elements.html"},
    {922, "CSS2", "https://www.w3.org/TR/REC-CSS2/indexlist.html"},
    {923, "JavaScript13",
     "https://web.archive.org/web/2002/http://developer.netscape.com/docs/manuals/js/client/"
     "jsref/index.htm"},
    {926, "WDGValidator", "https://www.htmlhelp.com/tools/validator/"},
    {927, "W3CValidator", "https://validator.w3.org/"},
    {928, "CSSValidator", "https://jigsaw.w3.org/css-validator/"},
    {929, "GIFBot",
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
  if (tag == 903 && !address.isEmpty())
    address += QString(address.contains('?') ? "&" : "?") + "qme=2.60";
  return address;
}
