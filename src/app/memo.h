#pragma once
// TZELMemo: the document editor, a plain-text QsciScintilla that keeps CR LF
// in its buffer and is addressed like a Win32 multi-line edit: positions count
// characters (code points), a line break counts two. Owned by the main window.
#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "app/syntax_language.h"
#include "doc/text_lines.h"

// QScintilla's headers use Qt's signals/slots keywords, which the project
// switches off (QT_NO_KEYWORDS).
#define signals Q_SIGNALS
#define slots Q_SLOTS
#include <Qsci/qsciscintilla.h>
#undef signals
#undef slots

class QKeyEvent;

class TZELMemo : public QsciScintilla {
  Q_OBJECT

 public:
  explicit TZELMemo(QWidget* parent = nullptr);

  // The whole text as UTF-8 bytes, CR LF kept.
  std::string TextBytes() const;
  // Replaces the whole text by Utf8 as it stands (NUL bytes and long lines
  // included), caret at the start, undo history cleared. Not an edit of the
  // user's, but textChanged is raised as for any change.
  void SetTextBytes(const std::string& utf8);
  // The text as a memo's list of lines: each line followed by CR LF, so a
  // text that ends in CR LF has no extra empty last line. SetLines followed
  // by Lines gives back the same list.
  void SetLines(const std::vector<std::string>& lines);
  std::vector<std::string> Lines() const;
  // The same lines in one string, each followed by CR LF.
  TJoinedLines JoinedLines() const;
  // The number of entries Lines() has (a final empty line after the last
  // line break does not count; an empty text has none).
  int LineCount() const;
  // Line I (0-based) without its line break; empty when out of range.
  QString Line(int i) const;
  std::string LineBytes(int i) const;
  // Characters in line I without its line break; 0 when out of range.
  int LineLength(int i) const;
  // Characters in the whole text, a line break counting two.
  int TextLength() const;
  // The 0-based line holding character Pos; -1 means the selection start.
  int LineFromChar(int pos = -1) const;
  // The character index of the first character of Line; -1 means the line of
  // the selection start; -1 is returned for a line that does not exist.
  int LineIndex(int line = -1) const;

  // The selection, in characters. SetSelStart collapses the selection there;
  // SetSelLength keeps the start and puts the caret at the end. Any character
  // position is allowed, also between the CR and the LF of a line break.
  int SelStart() const;
  void SetSelStart(int pos);
  int SelLength() const;
  void SetSelLength(int length);
  // Replacing the selection is an undoable edit; the caret ends after the
  // inserted text and is scrolled into view.
  QString SelText() const;
  // Characters Start to End (exclusive), clamped to the text.
  QString TextRange(int start, int end) const;
  std::string SelTextBytes() const;
  void SetSelText(const QString& text);
  void SetSelTextBytes(const std::string& utf8);
  void ScrollCaret();

  // Tab stops in dialog units, a quarter of an average character width (12 is
  // three characters). Negative becomes 0; 0 means the default tab stops,
  // every 8 characters as on the Win32 edit control.
  int TabWidth() const { return FTabWidth; }
  void SetTabWidth(int value);
  // Whether letter case matters in the editor's text search.
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool value) { FCaseSensitive = value; }

  // The editor's text search (memo_search.cpp). Text is cut to its first 255
  // characters and an empty one is never found; without CaseSensitive only
  // A to Z match in either case. A hit is selected, caret at its end and in
  // view; without one the selection stays. Either way the editor gets the
  // focus and UpdatePosition runs. FindFirstText searches the whole text,
  // FindNextText from one character after the selection start (from the
  // caret when nothing is selected) to the end.
  bool FindFirstText(const QString& text);
  bool FindNextText(const QString& text);
  // Replaces, as one undoable edit, every hit that FindFirstText and then
  // FindNextText after each replacement would find; the caret ends after
  // the last replacement. Focus and UpdatePosition as above. Returns the
  // number replaced.
  int ReplaceAllText(const QString& text, const QString& replacement);

  // Colours the text with QScintilla's own lexer for Language, in the
  // editor's font; None shows it plain (memo_syntax.cpp).
  void SetSyntaxLanguage(TSyntaxLanguage language);
  TSyntaxLanguage SyntaxLanguage() const { return FSyntaxLanguage; }

  // 0-based row and column of the selection start, as last reported.
  int CaretRow() const { return FCaretRow; }
  int CaretCol() const { return FCaretCol; }
  // Recomputes CaretRow and CaretCol and raises PosChanged(row + 1, col + 1).
  // Runs by itself after focus-in, a left mouse release and every key release.
  void UpdatePosition();

  // QsciScintilla's editing calls, so that each reports its change at once.
  void append(const QString& text) override;
  void clear() override;
  void cut() override;
  void paste() override;
  void undo() override;
  void redo() override;
  void insert(const QString& text) override;
  void removeSelectedText() override;
  void replaceSelectedText(const QString& text) override;
  void setText(const QString& text) override;

  // Character index <-> byte offset in the buffer (for code that calls
  // Scintilla directly, e.g. its search). Out-of-range values are clamped.
  long ByteFromChar(int pos) const;
  int CharFromByte(long byte) const;

  // textChanged (QsciScintilla's signal) is raised once after each change of
  // the text, before the call or event that made it returns; for a change
  // made through SendScintilla directly, when the event loop next runs.

 Q_SIGNALS:
  // The caret's 1-based row and column (OnPosChanged).
  void PosChanged(int row, int col);
  // Every key press, before the editor handles it. A handler swallows the key
  // with Event->accept(); otherwise the editor handles it, and a key the
  // editor does not use (Esc, Ctrl+Up/Down, Alt+Left/Right) goes on to the
  // parent widget.
  void KeyDown(QKeyEvent* event);
  // A key press that produces a character (Esc, Return, letters ...), after
  // KeyDown left it; swallowed the same way.
  void KeyPressed(QKeyEvent* event);
  // Every key release, before UpdatePosition runs; swallowed the same way.
  void KeyUp(QKeyEvent* event);
  void FocusEntered();
  void FocusLeft();

 protected:
  bool event(QEvent* e) override;
  bool viewportEvent(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  QByteArray fromMimeData(const QMimeData* source, bool& rectangular) const override;

 private:
  static constexpr long Utf32 = SC_LINECHARACTERINDEX_UTF32;
  static constexpr long kCountedColumnBytes = 1 << 16;

  long Sci(unsigned int msg, unsigned long wParam = 0, long lParam = 0) const {
    return SendScintilla(msg, wParam, lParam);
  }
  long ByteLength() const;
  int ScintillaLines() const;
  std::string ByteRange(long start, long end) const;
  void ReplaceSelectionBytes(const char* data, long length);
  void SelectChars(int anchor, int caret);
  bool EditorTakes(const QKeyEvent* e) const;
  QFont EditorFont() const;
  void SetUpAppearance();
  void FreeEditorKeys();
  void WatchChanges();
  void FlushChange();
  // Replaces [start, end) by with, as one undoable edit.
  void ReplaceBytes(long start, long end, std::string_view with);
  // Character positions through Scintilla's index of whole lines, which
  // makes them constant-time on any size of text; the index is built when
  // first asked for after a fill or a change of most of the text.
  long CharOfLine(long line) const;
  long LineOfChar(long pos) const;
  void DropCharIndex();
  // The characters of [start, end) of valid UTF-8 text that starts and ends
  // between characters, else -1.
  long ValidChars(long start, long end) const;
  // Keeps FTextChars up to date from a "before" notice of a change.
  void CountChange(int position, int type, int length);
  void CountInserted() const;
  bool FindFrom(const QString& text, long fromByte);

  int FTabWidth = 0;
  bool FCaseSensitive = false;
  TSyntaxLanguage FSyntaxLanguage = TSyntaxLanguage::None;
  int FCaretRow = 0;
  int FCaretCol = 0;
  bool FChangePending = false;
  mutable bool FCharIndex = false;
  // The characters of the whole text while the index is not built; -1 when
  // not known or the text is not valid UTF-8 (then the index counts).
  mutable long FTextChars = -1;
  mutable std::pair<long, long> FInserted{-1, -1};  // inserted bytes not counted yet
};
