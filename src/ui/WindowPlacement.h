#pragma once

class QWidget;

// Centres a top-level window, frame included, on the screen it is on.
void centreOnScreen(QWidget& window);
