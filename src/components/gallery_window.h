#pragma once
// The component gallery: every control of the component library in one
// window, no wider than a 1024 by 768 screen and of fixed width while typing.
class QWidget;

void BuildGallery(QWidget& window);
