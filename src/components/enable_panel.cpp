#include "components/enable_panel.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

// Text-entry and list controls, including the editor (a scroll area) and
// the library's edits, which derive from these.
bool IsInputControl(QWidget* w) {
  return qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
         qobject_cast<QAbstractItemView*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
         qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w) ||
         w->inherits("QsciScintilla");
}

}  // namespace

TZELEnablePanel::TZELEnablePanel(QWidget* parent) : QFrame(parent) {}

void TZELEnablePanel::changeEvent(QEvent* event) {
  QFrame::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) ApplyEnabled(isEnabled());
}

void TZELEnablePanel::ApplyEnabled(bool enabled) {
  for (QObject* child : children()) {
    auto* w = qobject_cast<QWidget*>(child);
    if (!w) continue;
    if (IsInputControl(w)) {
      QPalette pal = w->palette();
      const QColor base =
          palette().color(QPalette::Active, enabled ? QPalette::Base : QPalette::Button);
      pal.setColor(QPalette::All, QPalette::Base, base);
      w->setPalette(pal);
    }
    // Qt disables every child with its parent; the buttons and sub-panels
    // follow the panel explicitly as well, so their own flag matches it.
    const bool panel = qobject_cast<TZELEnablePanel*>(w) ||
                       w->metaObject() == &QFrame::staticMetaObject ||
                       w->metaObject() == &QWidget::staticMetaObject;
    if (panel || qobject_cast<QAbstractButton*>(w)) w->setEnabled(enabled);
  }
}
