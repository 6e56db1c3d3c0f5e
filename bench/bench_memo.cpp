// The editor control against a plain QsciScintilla: filling a 50 MB page, and
// the per-keystroke work at the end of a 50 MB page against a 1 KB one.
#include <QApplication>
#include <QKeyEvent>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/memo.h"
#include "bench.h"

namespace {

// Lines of HTML-like text, one in eight with an accented letter, so that both
// the pure-ASCII and the multi-byte paths of the position mapping are used.
std::string PageText(std::size_t bytes) {
  std::string text;
  text.reserve(bytes + 128);
  for (int i = 0; text.size() < bytes; ++i) {
    text += "  <p class=\"body\">Lorem ipsum dolor sit amet, consectetur adipiscing elit ";
    text += (i % 8 == 0) ? "caf\xc3\xa9</p>" : "velit</p>";
    text += "\r\n";
  }
  return text;
}

void Key(TZELMemo& memo, Qt::Key key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(memo.viewport(), &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(memo.viewport(), &release);
}

// What the main window asks after every keystroke.
long Report(TZELMemo& memo) {
  memo.UpdatePosition();
  return memo.TextLength() + memo.LineLength(memo.CaretRow()) + memo.LineCount();
}

// Typing and deleting a character keeps the caret line short, so that only
// the size of the whole text differs between the two editors.
void TypeAndDelete(TZELMemo& memo, int keys) {
  long sink = 0;
  for (int i = 0; i < keys; ++i) {
    Key(memo, Qt::Key_X, "x");
    sink += Report(memo);
    Key(memo, Qt::Key_Backspace, "\b");
    sink += Report(memo);
  }
  if (sink == 42) std::puts("");
}

void PrepareAtEnd(TZELMemo& memo, const std::string& text) {
  memo.SetTextBytes(text);
  memo.SetSelStart(memo.TextLength());
}

// Seconds taken by the first keystroke after a fill (Scintilla may grow its
// buffers then), the median of three fills.
double FirstKey(TZELMemo& memo, const std::string& text) {
  std::vector<double> times;
  for (int run = 0; run < 3; ++run) {
    PrepareAtEnd(memo, text);
    times.push_back(MedianSeconds(1, [&] {
      Key(memo, Qt::Key_X, "x");
      Report(memo);
    }));
  }
  std::sort(times.begin(), times.end());
  return times[1];
}

}  // namespace

QUILLMERE_BENCH(memo_fill_50mb) {
  const std::string text = PageText(50u << 20);
  TZELMemo memo;
  QsciScintilla plain;
  plain.setUtf8(true);
  const double ours = MedianSeconds(3, [&] { memo.SetTextBytes(text); });
  const double raw = MedianSeconds(3, [&] {
    plain.SendScintilla(QsciScintillaBase::SCI_CLEARALL);
    plain.SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<uintptr_t>(text.size()),
                        text.data());
  });
  PrintRatio("fill 50 MB vs raw append", ours, raw, 1.5);
  std::printf("peak memory %.0f MB\n", PeakRssBytes() / 1048576.0);
}

QUILLMERE_BENCH(memo_typing_at_end) {
  TZELMemo big;
  TZELMemo small;
  for (TZELMemo* memo : {&big, &small}) {
    memo->resize(600, 400);
    memo->show();
  }
  const std::string bigText = PageText(50u << 20);
  const std::string smallText = PageText(1024);
  const double bigFirst = FirstKey(big, bigText);
  const double smallFirst = FirstKey(small, smallText);
  std::printf("first key after a fill: %.2f ms at 50 MB, %.2f ms at 1 KB\n", bigFirst * 1e3,
              smallFirst * 1e3);
  const int keys = 1000;
  const double ours = MedianSeconds(3, [&] { TypeAndDelete(big, keys); });
  const double baseline = MedianSeconds(3, [&] { TypeAndDelete(small, keys); });
  PrintRatio("1000 x+BS: 50 MB vs 1 KB", ours, baseline, 2.0);
}

// Why the editor asks Scintilla for "before" notices only: a plain
// QsciScintilla spends most of a second per keystroke at the end of 50 MB.
QUILLMERE_BENCH(memo_vs_plain_keys) {
  const std::string text = PageText(50u << 20);
  TZELMemo memo;
  PrepareAtEnd(memo, text);
  QsciScintilla plain;
  plain.setUtf8(true);
  plain.SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<uintptr_t>(text.size()),
                      text.data());
  plain.SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
  const int keys = 5;
  const auto typeInto = [&](QWidget* w) {
    for (int i = 0; i < keys; ++i) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
      QApplication::sendEvent(w, &press);
    }
  };
  typeInto(plain.viewport());  // the first keys grow Scintilla's buffers
  const double ours = MedianSeconds(3, [&] { typeInto(memo.viewport()); });
  const double raw = MedianSeconds(3, [&] { typeInto(plain.viewport()); });
  PrintRatio("5 keys at end of 50 MB", ours, raw, 0.1);
}
