#pragma once
// Names for screen readers in the site window: its edits and the case group
// show no text of their own, and the label beside each says what it holds.
class QWidget;

void NameSiteControls(QWidget* window);
