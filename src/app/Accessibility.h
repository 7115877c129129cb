// Names that screen readers announce for the controls of a window.
#pragma once

class QWidget;

namespace melvo {

class MainWindow;

// Gives every control of window that has no accessible name one: its caption
// (button, check box, frame or label text), else its tool tip, else the
// caption of the label just above it. Names set beforehand are kept. Call it
// once a window has all its controls.
void nameForScreenReaders(QWidget* window);

// The main window's controls: the position bar, which has neither caption nor
// tool tip nor a fixed label above it, gets its own name; the rest follow
// nameForScreenReaders.
void nameMainWindowForScreenReaders(MainWindow& window);

}  // namespace melvo
