#pragma once

class QWidget;

// Gives the widget the desktop's colours as its own, every role of every group, so that
// colours set on a parent never reach it, and again whenever the desktop's palette changes.
// The widget must be in its window already.
// The style keeps its drawings of a scroll bar under the palette's identity, and Qt 6.4's
// pixmap cache keeps the key of every drawing it ever dropped (some 300 bytes each): a scroll
// bar given a new palette at every colour change of its parent adds to the heap for as long as
// the colours alternate.
void keepDesktopPalette(QWidget& widget);
