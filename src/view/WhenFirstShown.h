#pragma once

#include <functional>

class QWidget;

// Runs the work once, as soon as the window has been painted for the first time: what the
// window does not need in order to appear waits until it is on the screen. Should no paint
// come (a window that never maps), the work runs after a second all the same.
void whenFirstShown(QWidget& window, std::function<void()> work);
