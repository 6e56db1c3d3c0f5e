// The site check's small rules, each with a table: reference resolution,
// srcset, refresh, CSS, tags, entities and line positions.
#include <QTest>

#include "site/site_check_rules.h"

class TestSiteCheckRules : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // Target "!out" means above the root, "!ext" external.
  void resolve_data() {
    QTest::addColumn<QByteArray>("ref");
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QByteArray>("fragment");
    QTest::addColumn<int>("begin");
    QTest::addColumn<int>("end");
    const auto row = [](const char* name, const char* ref, const char* page, const char* target,
                        const char* fragment, int begin, int end) {
      QTest::newRow(name) << QByteArray(ref) << QByteArray(page) << QByteArray(target)
                          << QByteArray(fragment) << begin << end;
    };
    row("relative", "a.html", "d/p.html", "d/a.html", "", 0, 6);
    row("root-relative", "/a.html", "d/p.html", "a.html", "", 0, 7);
    row("up", "../a.html", "d/p.html", "a.html", "", 0, 9);
    row("dots", "a/./b/../c.html", "p.html", "a/c.html", "", 0, 15);
    row("above root", "../../a.html", "d/p.html", "!out", "", 0, 12);
    row("above root from /", "/../a.html", "d/p.html", "!out", "", 0, 10);
    row("escapes, query, fragment", "a%20b.html?x=1#sec%201", "p.html", "a b.html", "sec 1", 0, 10);
    row("blanks around", "  b.html \n", "p.html", "b.html", "", 2, 8);
    row("entity in query", "x.html?a=1&amp;b=2#f", "p.html", "x.html", "f", 0, 6);
    row("entity in path", "a&#47;b.html", "p.html", "a/b.html", "", 0, 12);
    row("fragment alone", "#top", "d/p.html", "d/p.html", "top", 0, 0);
    row("query alone", "?q=1", "p.html", "p.html", "", 0, 0);
    row("folder", "dir/", "d/p.html", "d/dir/", "", 0, 4);
    row("own folder", ".", "d/p.html", "d/", "", 0, 1);
    row("parent folder", "..", "d/e/p.html", "d/", "", 0, 2);
    row("root", "/", "d/p.html", "", "", 0, 1);
    row("upper case kept", "About.HTML", "p.html", "About.HTML", "", 0, 10);
    row("UTF-8 escapes", "%C3%A9t%C3%A9.html", "p.html", "\xC3\xA9t\xC3\xA9.html", "", 0, 18);
    row("bad escape stays", "100%.html", "p.html", "100%.html", "", 0, 9);
    row("http", "http://x.org/a.html", "p.html", "!ext", "", 0, 19);
    row("https upper", "HTTPS://x.org/", "p.html", "!ext", "", 0, 14);
    row("no scheme host", "//cdn.x.org/a.js", "p.html", "!ext", "", 0, 16);
    row("mailto", "mailto:a@b.org", "p.html", "!ext", "", 0, 14);
    row("tel", "tel:+31", "p.html", "!ext", "", 0, 7);
    row("javascript", "javascript:void(0)", "p.html", "!ext", "", 0, 18);
    row("data", "data:image/png;base64,AA#x", "p.html", "!ext", "x", 0, 24);
    row("drive letter is a local path", "C:/site/a.htm", "p.html", "C:/site/a.htm", "", 0, 13);
  }
  void resolve() {
    QFETCH(QByteArray, ref);
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, target);
    TPageReference r;
    ResolveReference(ref, page, true, &r);
    QCOMPARE(r.External, target == "!ext");
    QCOMPARE(r.Outside, target == "!out");
    if (!target.startsWith('!')) QCOMPARE(r.Target, target);
    QTEST(r.Fragment, "fragment");
    QCOMPARE(r.HasFragment, ref.contains('#') && !ref.contains("&#"));
    QTEST(int(r.PathBegin), "begin");
    QTEST(int(r.PathEnd), "end");
  }

  void entitiesOnlyInHtml() {
    TPageReference r;
    ResolveReference("a&amp;b.png", "p.html", false, &r);
    QCOMPARE(r.Target, QByteArray("a&amp;b.png"));
    QCOMPARE(EntitiesDecoded("&lt;&gt;&quot;&apos;&nbsp;&#x41;&#66;&bogus;&#0;&amp"),
             QByteArray("<>\"'\xC2\xA0"
                        "AB&bogus;&#0;&amp"));
  }

  void srcset_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QList<QByteArray>>("urls");
    const auto row = [](const char* value, const QList<QByteArray>& urls) {
      QTest::newRow(value) << QByteArray(value) << urls;
    };
    row("a.png 1x, b.png 2x", {"a.png", "b.png"});
    row("  a.png 100w ,b.png 200w ", {"a.png", "b.png"});  // widths, blanks
    row("a.png, b.png", {"a.png", "b.png"});               // a comma ends a URL
    row("x.png", {"x.png"});
    row("data:x,AA 1x, b.png 2x", {"data:x,AA", "b.png"});  // a comma inside a URL
    row(" , ", {});
  }
  void srcset() {
    QFETCH(QByteArray, value);
    QList<QByteArray> got;
    for (const TByteRange& r : SrcsetUrls(value)) got.append(value.mid(r.Begin, r.End - r.Begin));
    QTEST(got, "urls");
  }

  void refresh_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("url");
    const auto row = [](const char* content, const char* url) {
      QTest::newRow(content) << QByteArray(content) << QByteArray(url);
    };
    row("5; url=next.html", "next.html");
    row("0;URL='a b.html'", "a b.html");
    row(" 0 ; url = a.html  ", "a.html");
    row("3, next.html", "next.html");  // no url=
    row("30", "");
    row("5; url=", "");
  }
  void refresh() {
    QFETCH(QByteArray, content);
    const TByteRange r = RefreshUrl(content);
    QTEST(r.Begin >= 0 ? content.mid(r.Begin, r.End - r.Begin) : QByteArray(), "url");
  }

  void css_data() {
    QTest::addColumn<QByteArray>("css");
    QTest::addColumn<QList<QByteArray>>("urls");  // "@" in front: an import
    const auto row = [](const char* css, const QList<QByteArray>& urls) {
      QTest::newRow(css) << QByteArray(css) << urls;
    };
    row("a{background:url(x.png)}", {"x.png"});
    row("a{b:URL( 'y z.png' )}", {"y z.png"});
    row("@import 'p.css';\n@IMPORT url(\"q.css\") print;", {"@p.css", "@q.css"});
    row("/* url(c.png) @import 'd.css'; */ a{}", {});
    row("a:after{content:'url(no.png)'}", {});
    row("a{b:my-url(x.png)}", {});
    row("@import x; a{b:'c'} d{e:url(f.png)}", {"f.png"});
    row("a{b:url(g.png", {"g.png"});
  }
  void css() {
    QFETCH(QByteArray, css);
    QList<QByteArray> got;
    for (const TCssUrl& u : CssUrls(css))
      got.append((u.Import ? "@" : "") + css.mid(u.Range.Begin, u.Range.End - u.Range.Begin));
    QTEST(got, "urls");
  }

  // Each tag as its name and its attributes' "name=value" by their ranges.
  void tags() {
    const auto attributes = [](const QByteArray& text, const TTag& tag) {
      QList<QByteArray> found{tag.Name};
      for (const TTagAttribute& at : tag.Attributes)
        found << at.Name + '=' + text.mid(at.Value.Begin, at.Value.End - at.Value.Begin);
      return found;
    };
    const QByteArray page = "x<A HREF=\"a.html\" id=top data-x/><IMG\nSRC = 'b c.png'>";
    const TTag a = ReadTagAt(page, 1);
    QCOMPARE(attributes(page, a), (QList<QByteArray>{"a", "href=a.html", "id=top", "data-x="}));
    QCOMPARE(a.End, page.indexOf("<IMG"));
    QCOMPARE(attributes(page, ReadTagAt(page, a.End)), (QList<QByteArray>{"img", "src=b c.png"}));
    QVERIFY(ReadTagAt(page, 0).Name.isEmpty());
    const QByteArray open = "<a href=\"x";  // an unclosed quote ends at the end
    QCOMPARE(attributes(open, ReadTagAt(open, 0)), (QList<QByteArray>{"a", "href=x"}));
  }

  void charsets() {
    QCOMPARE(CharsetOfContentType("text/html; charset=UTF-8"), QByteArray("utf-8"));
    QCOMPARE(CharsetOfContentType("text/html;CHARSET = \"iso-8859-1\""), QByteArray("iso-8859-1"));
    QCOMPARE(CharsetOfContentType("text/html"), QByteArray());
    QVERIFY(IsUtf8Charset(" UTF8 ") && IsUtf8Charset("utf-8") && !IsUtf8Charset("utf-16"));
  }

  // Lines end at CR LF, CR or LF; columns count characters in a UTF-8 page,
  // bytes in any other; the library's columns count tabs to stops of eight.
  void positions() {
    static const char raw[] = "ab\r\n\xC3\xA9x\rq\n\t\tz\0y";
    const QByteArray page(raw, sizeof raw - 1);
    const TLineIndex index(page);
    int line = 0, column = 0;
    index.Position(page.indexOf('x'), &line, &column);
    QCOMPARE((QList<int>{line, column}), (QList<int>{2, 2}));
    index.Position(page.indexOf('q'), &line, &column);
    QCOMPARE((QList<int>{line, column}), (QList<int>{3, 1}));
    QCOMPARE(index.OffsetOfLibraryPosition(4, 17), page.indexOf('z'));
    QCOMPARE(index.OffsetOfLibraryPosition(4, 18), page.indexOf('y'));  // NUL not counted
    QCOMPARE(index.OffsetOfLibraryPosition(2, 2), page.indexOf('x'));
    QCOMPARE(index.OffsetOfLibraryPosition(5, 1), qsizetype(-1));
    const QByteArray latin = "\xE9x";
    TLineIndex(latin).Position(1, &line, &column);
    QCOMPARE(column, 2);
  }

  // The library gives a leading byte-order mark and control characters no
  // column, nor on a page that is not UTF-8 the bytes Windows-1252 leaves
  // undefined; a tag after them on the same line must still be found.
  void libraryColumnsSkipControls() {
    const QByteArray controls =
        "a\x01\x1F\x0C\x7F\xC2\x81"
        "b";
    QCOMPARE(TLineIndex(controls).OffsetOfLibraryPosition(1, 4), controls.indexOf('b'));
    const QByteArray latin =
        "\xFF\x81\x8D\x8F\x90\x9D\x80"
        "c";
    QCOMPARE(TLineIndex(latin).OffsetOfLibraryPosition(1, 3), latin.indexOf('c'));
    QCOMPARE(TLineIndex("\xEF\xBB\xBF\xFF<a").OffsetOfLibraryPosition(1, 2), qsizetype(4));
    const QByteArray page =
        "<a href=\"" + QByteArray(40, '\x02') + "\">a</a> <a href=\"b.htm\">b</a>";
    const QList<TPageReference> refs = ScanPage(page, "p.htm").References;
    QCOMPARE(refs.size(), 2);
    QCOMPARE(refs[1].Target, QByteArray("b.htm"));
  }
};

QTEST_GUILESS_MAIN(TestSiteCheckRules)
#include "test_site_check_rules.moc"
