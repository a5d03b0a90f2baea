#pragma once
// Every window the program opens lies wholly inside the free area of its screen (the screen less
// the task bars), frame included: a window taller than a small screen would hide its buttons or
// its page footer below the edge.
class QWidget;

namespace grx {

// Shrinks the top-level window to the available area of its screen minus its frame and moves it
// inside, as close to where it was as that allows. The frame is the window's own once the window
// system has told it; before the window is first shown it is taken from the window it belongs to
// (its parent's), whose frame the window manager draws alike.
void fitIntoScreen(QWidget& window);

// Fits the window now and every time it is shown: for a window that is placed when it opens
// (by QDialog::exec or by its own code before show()).
void keepInScreen(QWidget& window);

// A window of the program's own opened again from a menu: shown (restored when minimised), raised
// and made active, as it stands.
void bringToFront(QWidget& window);

}  // namespace grx
