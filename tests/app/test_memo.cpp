// The editor control: characters, not bytes, on the outside; CR LF lines;
// the signals the main window relies on.
#include <QAccessible>
#define signals Q_SIGNALS
#define slots Q_SLOTS
#include <Qsci/qscilexer.h>
#undef signals
#undef slots
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <vector>

#include "app/memo.h"

namespace {

void TypeText(QWidget* w, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
  QApplication::sendEvent(w, &release);
}

}  // namespace

class TestMemo : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void addressing_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("length");
    QTest::addColumn<QList<int>>("lineStarts");
    QTest::addColumn<QList<int>>("lineLengths");
    QTest::newRow("ascii") << QByteArray("ab\r\ncde\r\n") << 9 << QList<int>{0, 4, 9}
                           << QList<int>{2, 3, 0};
    // é (2 bytes), € (3 bytes), an emoji (4 bytes) are one character each.
    QTest::newRow("multi-byte") << QByteArray("\xc3\xa9\xe2\x82\xac\r\n\xf0\x9f\x98\x80x\r\ny") << 9
                                << QList<int>{0, 4, 8} << QList<int>{2, 2, 1};
    QTest::newRow("empty") << QByteArray() << 0 << QList<int>{0} << QList<int>{0};
  }

  void addressing() {
    QFETCH(QByteArray, text);
    QFETCH(int, length);
    QFETCH(QList<int>, lineStarts);
    QFETCH(QList<int>, lineLengths);
    TZELMemo m;
    m.SetTextBytes(text.toStdString());
    QCOMPARE(m.TextLength(), length);
    for (int line = 0; line < lineStarts.size(); ++line) {
      QCOMPARE(m.LineIndex(line), lineStarts[line]);
      QCOMPARE(m.LineLength(line), lineLengths[line]);
      QCOMPARE(m.LineFromChar(lineStarts[line]), line);
    }
    const int past = int(lineStarts.size());
    QCOMPARE(m.LineIndex(past), -1);
    QCOMPARE(m.LineIndex(-2), -1);
    QCOMPARE(m.LineLength(past), 0);
    QCOMPARE(m.Line(past), QString());
    QCOMPARE(m.LineFromChar(length + 5), past - 1);
  }

  void positionsRoundTrip_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("multi-byte") << QByteArray("a\xc3\xa9\r\n\xe2\x82\xac\xf0\x9f\x98\x80\r\nz");
    QTest::newRow("invalid bytes") << QByteArray("\xff\xfe\r\n\xe2\x82x\x80\xc3\r\n\xc3\xa9");
    QTest::newRow("lone LF and CR, NUL") << QByteArray("\xc3\xa9\n\xc3\xa9\r\0\xc3\xa9", 9);
  }

  // Every character position maps to a byte and back, through the selection too.
  void positionsRoundTrip() {
    QFETCH(QByteArray, text);
    TZELMemo m;
    m.SetTextBytes(text.toStdString());
    long previous = -1;
    for (int pos = 0; pos <= m.TextLength(); ++pos) {
      const long byte = m.ByteFromChar(pos);
      QVERIFY2(byte > previous, qPrintable(QString::number(pos)));
      previous = byte;
      QCOMPARE(m.CharFromByte(byte), pos);
      m.SetSelStart(pos);
      QCOMPARE(m.SelStart(), pos);
    }
    QCOMPARE(previous, long(text.size()));
    QCOMPARE(m.ByteFromChar(-3), 0L);
    QCOMPARE(m.ByteFromChar(m.TextLength() + 3), long(text.size()));
  }

  void positionReport() {
    TZELMemo m;
    QSignalSpy spy(&m, &TZELMemo::PosChanged);
    // A tab counts as one character.
    m.SetTextBytes("x\r\n\tab");
    m.SetSelStart(4);
    m.UpdatePosition();
    QCOMPARE(spy.takeLast(), (QList<QVariant>{2, 2}));
    QCOMPARE(m.CaretRow(), 1);
    QCOMPARE(m.CaretCol(), 1);
    // The selection start counts, wherever the caret is.
    m.SetSelStart(6);
    m.SetSelLength(-3);
    QCOMPARE(m.SelStart(), 3);
    QCOMPARE(m.SelLength(), 3);
    m.UpdatePosition();
    QCOMPARE(spy.takeLast(), (QList<QVariant>{2, 1}));

    // The editor reports by itself after focus-in, a key release and a left click.
    QSignalSpy entered(&m, &TZELMemo::FocusEntered);
    QSignalSpy left(&m, &TZELMemo::FocusLeft);
    QFocusEvent focusIn(QEvent::FocusIn, Qt::OtherFocusReason);
    QApplication::sendEvent(&m, &focusIn);
    QFocusEvent focusOut(QEvent::FocusOut, Qt::OtherFocusReason);
    QApplication::sendEvent(&m, &focusOut);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(entered.size() + left.size(), 2);
    QTest::keyClick(m.viewport(), Qt::Key_End);
    QCOMPARE(spy.takeLast(), (QList<QVariant>{2, 4}));
    spy.clear();
    QTest::keyClick(m.viewport(), Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(spy.size(), 2);  // Left and Alt released
    m.resize(400, 200);
    QTest::mouseClick(m.viewport(), Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(spy.takeLast(), (QList<QVariant>{1, 1}));
    // A character of two bytes counts once, also before any character
    // position was asked for after a fill.
    m.SetTextBytes("caf\xc3\xa9\r\nna\xc3\xafve");
    m.SendScintilla(QsciScintillaBase::SCI_GOTOPOS, 13L);
    m.UpdatePosition();
    QCOMPARE(spy.takeLast(), (QList<QVariant>{2, 6}));
    QCOMPARE(m.TextLength(), 11);
  }

  // The length in characters is kept without Scintilla's index until a
  // position needs it; it must agree with the index after every kind of edit.
  void textLengthFollowsEdits() {
    const auto byIndex = [](const std::string& bytes) {
      TZELMemo fresh;
      fresh.SetTextBytes(bytes);
      fresh.LineIndex(0);  // builds the index
      return fresh.TextLength();
    };
    using S = QsciScintillaBase;
    TZELMemo m;
    const auto insert = [&](long at, const char* text) {
      m.SendScintilla(S::SCI_INSERTTEXT, at, text);
    };
    const auto remove = [&](long at, long n) { m.SendScintilla(S::SCI_DELETERANGE, at, n); };
    const std::vector<std::function<void()>> edits = {
        [&] { m.SetTextBytes("caf\xc3\xa9 na\xc3\xafve\r\n\xf0\x9f\x99\x82 end"); },
        [&] { insert(4, "\xc3\xa9"); },  // inside a character: the text is no longer valid
        [&] { m.SetTextBytes("caf\xc3\xa9 na\xc3\xafve\r\n\xf0\x9f\x99\x82 end"); },
        [&] { insert(0, "\xe2\x82\xac"); },                  // at the start
        [&] { insert(m.TextBytes().size(), "x\xc3\xa9"); },  // at the end
        [&] { remove(3, 4); },                               // across a two-byte character
        [&] { m.undo(); },
        [&] { m.redo(); },
        [&] { insert(5, "\xc3\xa9"); },
        [&] { remove(5, 2); },
        [&] { m.SetTextBytes("caf\xe9"); },  // Windows-1252 bytes kept as they are
        [&] { insert(0, "ab"); },
        [&] { m.SetTextBytes(std::string(70000, 'a') + "\xc3\xa9"); },
        [&] { remove(0, 69999); },
    };
    for (std::size_t i = 0; i < edits.size(); ++i) {
      edits[i]();
      QVERIFY2(m.TextLength() == byIndex(m.TextBytes()), qPrintable(QString::number(i)));
    }
    // Replace all of most of the text starts the count afresh.
    m.SetTextBytes(
        "\xc3\xa9"
        "a"
        "\xc3\xa9"
        "a"
        "\xc3\xa9");
    m.SetCaseSensitive(true);
    QCOMPARE(m.ReplaceAllText("a", "\u00e9\u00e9"), 2);
    QCOMPARE(m.TextLength(), 7);
    QCOMPARE(m.LineLength(0), 7);
  }

  void fillAndLines() {
    TZELMemo m;
    std::string text("a\0b\r\n\0", 6);
    text += std::string(1 << 20, 'x') + "\xc3\xa9\r\n";
    m.SetTextBytes(text);
    QVERIFY(m.TextBytes() == text);
    QCOMPARE(m.LineLength(1), (1 << 20) + 2);
    QCOMPARE(m.LineBytes(0), std::string("a\0b", 3));
    QVERIFY(!m.isUndoAvailable());
    m.setReadOnly(true);
    m.SetTextBytes("read-only");
    QCOMPARE(m.TextBytes(), std::string("read-only"));

    for (const std::vector<std::string>& lines :
         {std::vector<std::string>{}, {""}, {"a", ""}, {"x", "abc", "y"}}) {
      m.SetLines(lines);
      QVERIFY(m.Lines() == lines);
      QCOMPARE(m.LineCount(), int(lines.size()));
    }
    QCOMPARE(m.TextBytes(), std::string("x\r\nabc\r\ny\r\n"));
    QCOMPARE(m.Line(1), QString("abc"));

    // Tab widths are stored in blanks, four to a tab stop; 0 means the default.
    m.SetTabWidth(12);
    QCOMPARE(m.tabWidth(), 3);
    m.SetTabWidth(2);
    QCOMPARE(m.tabWidth(), 1);
    m.SetTabWidth(-5);
    QCOMPARE(m.TabWidth(), 0);
    QCOMPARE(m.tabWidth(), 8);
  }

  void editing() {
    TZELMemo m;
    m.SetTextBytes("a\r\nb\r\nc");
    // From the break before line 2 to between the CR and LF after it, as block
    // indent selects.
    m.SetSelStart(1);
    m.SetSelLength(4);
    QCOMPARE(m.SelTextBytes(), std::string("\r\nb\r"));
    m.SetSelTextBytes("\r\n\tb\r");
    QCOMPARE(m.TextBytes(), std::string("a\r\n\tb\r\nc"));
    QCOMPARE(m.SelStart(), 6);
    m.SetSelStart(0);
    m.SetSelLength(1);
    m.SetSelText(QString::fromUtf8("\xc3\xa9") + QChar(0) + "z");
    QCOMPARE(m.TextBytes(), std::string("\xc3\xa9\0z\r\n\tb\r\nc", 11));
    QCOMPARE(m.SelStart(), 3);
    m.undo();
    QCOMPARE(m.TextBytes(), std::string("a\r\n\tb\r\nc"));

    // Typed and deleted by characters; Return and pasted breaks are CR LF.
    TZELMemo t;
    t.SetTextBytes("ab");
    t.SetSelStart(2);
    QTest::keyClick(t.viewport(), Qt::Key_Return);
    TypeText(t.viewport(), QString::fromUtf8("\xc3\xa9"));
    TypeText(t.viewport(), QString::fromUtf8("\xf0\x9f\x98\x80"));
    QTest::keyClick(t.viewport(), Qt::Key_Tab);
    QCOMPARE(t.TextBytes(), std::string("ab\r\n\xc3\xa9\xf0\x9f\x98\x80\t"));
    QCOMPARE(t.TextLength(), 7);
    // One key with several characters, as a compose sequence sends them.
    TZELMemo several;
    TypeText(several.viewport(), QString::fromUtf8("\xc3\xa9\xf0\x9f\x98\x80"));
    QCOMPARE(several.TextBytes(), std::string("\xc3\xa9\xf0\x9f\x98\x80"));
    QTest::keyClick(t.viewport(), Qt::Key_Left);
    QTest::keyClick(t.viewport(), Qt::Key_Backspace);
    QCOMPARE(t.TextBytes(), std::string("ab\r\n\xc3\xa9\t"));
    QCOMPARE(t.SelStart(), 5);
    QApplication::clipboard()->setText(QString::fromUtf8("1\n2\r3\r\n"));
    t.paste();
    QCOMPARE(t.TextBytes(), std::string("ab\r\n\xc3\xa9"
                                        "1\r\n2\r\n3\r\n\t"));
  }

  // textChanged comes once per change, before the call or event returns, so
  // that the main window can tell its own changes from the user's edits.
  void changeReports() {
    TZELMemo m;
    int changes = 0;
    int lengthSeen = -1;
    QObject::connect(&m, &QsciScintilla::textChanged, [&] {
      ++changes;
      lengthSeen = m.TextLength();
    });
    m.SetTextBytes("abc");
    QCOMPARE(changes, 1);
    m.SetSelStart(3);
    QTest::keyClick(m.viewport(), Qt::Key_Left);
    QTest::keyClick(m.viewport(), Qt::Key_Backspace);
    QCOMPARE(changes, 2);
    QCOMPARE(lengthSeen, 2);
    m.SetSelStart(0);
    m.SetSelLength(1);
    m.SetSelText("xy");
    QCOMPARE(changes, 3);
    m.SetSelStart(0);
    m.SetSelLength(3);
    m.cut();
    m.paste();
    m.undo();
    QCOMPARE(changes, 6);
    QCOMPARE(lengthSeen, 0);
    // Straight to Scintilla: reported when the event loop runs.
    m.SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, static_cast<uintptr_t>(0), "12");
    QCOMPARE(changes, 6);
    QTRY_COMPARE(changes, 7);
    QCOMPARE(lengthSeen, 2);
  }

  void keysReachTheWindow() {
    struct TKeyParent : QWidget {
      QList<QKeyCombination> Pressed;
      void keyPressEvent(QKeyEvent* e) override {
        if (e->key() != Qt::Key_Control && e->key() != Qt::Key_Alt) Pressed << e->keyCombination();
      }
    } parent;
    auto* m = new TZELMemo(&parent);
    m->SetTextBytes("one\r\ntwo\r\nthree");
    m->SetSelStart(5);
    QList<QKeyCombination> seen;
    QObject::connect(m, &TZELMemo::KeyDown, [&](QKeyEvent* e) {
      if (e->key() != Qt::Key_Control && e->key() != Qt::Key_Alt) seen << e->keyCombination();
    });
    const QList<QKeyCombination> keys{Qt::CTRL | Qt::Key_Down, QKeyCombination(Qt::Key_Escape),
                                      Qt::ALT | Qt::Key_Right, Qt::CTRL | Qt::Key_A};
    for (QKeyCombination key : keys)
      QTest::keyClick(m->viewport(), key.key(), key.keyboardModifiers());
    QCOMPARE(seen, keys);
    QCOMPARE(parent.Pressed, keys);
    QCOMPARE(m->TextBytes(), std::string("one\r\ntwo\r\nthree"));
    QCOMPARE(m->SelStart(), 5);

    // A handler that accepts the key swallows it; KeyPressed sees characters.
    QList<QString> chars;
    QObject::connect(m, &TZELMemo::KeyPressed, [&](QKeyEvent* e) {
      chars << e->text();
      if (e->text() == "q") e->accept();
    });
    parent.Pressed.clear();
    QTest::keyClick(m->viewport(), Qt::Key_Q);
    QTest::keyClick(m->viewport(), Qt::Key_W);
    QCOMPARE(chars, (QList<QString>{"q", "w"}));
    QVERIFY(parent.Pressed.isEmpty());
    QCOMPARE(m->TextBytes(), std::string("one\r\nwtwo\r\nthree"));
  }

  // A coloured page leaves the colouring before the view to idle time; a
  // plain one, which no lexer ever finishes styling, must not, or the idle
  // work never ends and the program stays busy.
  void idleStylingOnlyWithALexer() {
    TZELMemo m;
    const auto idle = [&m] { return m.SendScintilla(QsciScintillaBase::SCI_GETIDLESTYLING); };
    m.SetSyntaxLanguage(SyntaxLanguageFor("a.htm"));
    QCOMPARE(idle(), long(QsciScintillaBase::SC_IDLESTYLING_TOVISIBLE));
    m.SetSyntaxLanguage(SyntaxLanguageFor("a.txt"));
    QCOMPARE(idle(), long(QsciScintillaBase::SC_IDLESTYLING_NONE));
  }

  // Each language after another one, so that switching is covered; the
  // column-80 edge stays where it was.
  void syntaxColouring() {
    TZELMemo m;
    QCOMPARE(m.edgeColumn(), 80);
    const auto rulerWidth = [&m] {
      return m.SendScintilla(QsciScintillaBase::SCI_TEXTWIDTH, static_cast<uintptr_t>(0),
                             QByteArray(80, '1').constData());
    };
    const long plainWidth = rulerWidth();
    for (const auto& [file, lexer] : {std::pair{"OLD.HTM", "QsciLexerHTML"},
                                      {"site.css", "QsciLexerCSS"},
                                      {"menu.js", "QsciLexerJavaScript"},
                                      {"index.html.bak", ""}}) {
      m.SetSyntaxLanguage(SyntaxLanguageFor(file));
      QCOMPARE(m.lexer() ? m.lexer()->metaObject()->className() : "", lexer);
      QCOMPARE(rulerWidth(), plainWidth);
      // Every lexer gives the "p" a style of its own; plain text keeps style 0.
      m.SetTextBytes("<p class=\"a\">x</p>\r\n");
      m.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0UL, -1L);
      QCOMPARE(m.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, 1UL) != 0, *lexer != 0);
    }
  }

  void accessibleText() {
    TZELMemo m;
    m.SetTextBytes("ab\r\ncaf\xc3\xa9 x\r\nend");
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&m);
    QVERIFY(a && a->textInterface());
    QVERIFY(a->state().multiLine && a->state().editable);
    QAccessibleTextInterface* t = a->textInterface();
    QCOMPARE(t->characterCount(), 15);
    QCOMPARE(t->text(4, 8), QString::fromUtf8("caf\xc3\xa9"));
    m.SetSelStart(9);
    QCOMPARE(t->cursorPosition(), 9);
    int start = -1, end = -1;
    QCOMPARE(t->textAtOffset(6, QAccessible::LineBoundary, &start, &end),
             QString::fromUtf8("caf\xc3\xa9 x\r\n"));
    QCOMPARE(QList<int>({start, end}), QList<int>({4, 12}));
    QCOMPARE(t->textAtOffset(5, QAccessible::WordBoundary, &start, &end),
             QString::fromUtf8("caf\xc3\xa9"));
    QCOMPARE(t->textBeforeOffset(6, QAccessible::LineBoundary, &start, &end), QString("ab\r\n"));
    QCOMPARE(t->textAfterOffset(6, QAccessible::LineBoundary, &start, &end), QString("end"));
    QCOMPARE(t->textAfterOffset(13, QAccessible::LineBoundary, &start, &end), QString());
    t->setSelection(0, 4, 8);
    QCOMPARE(m.SelText(), QString::fromUtf8("caf\xc3\xa9"));
    t->selection(0, &start, &end);
    QCOMPARE(QList<int>({start, end}), QList<int>({4, 8}));
    t->removeSelection(0);
    QCOMPARE(t->selectionCount(), 0);

    // A character's place on the screen and back.
    m.resize(300, 200);
    m.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    const QRect e = t->characterRect(7);
    QVERIFY(e.width() > 0 && e.height() > 0);
    QCOMPARE(t->offsetAtPoint(e.center()), 7);
    QCOMPARE(t->offsetAtPoint(t->characterRect(0).center()), 0);
  }
};

QTEST_MAIN(TestMemo)
#include "test_memo.moc"
