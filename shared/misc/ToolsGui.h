#pragma once

#include "Tools.h"

class QPainter;
class QWidget;

// The helper routines that need windows: the Enter key moving on like Tab in entry forms, and
// drawing a spline.
namespace Tools {

// When Key is Return or Enter: Key becomes 0 and the focus moves on to the next control of
// Control's window once the event loop runs.
void SimTab(QWidget* control, int& key);
// Moves the focus on to the next control of Control's window, whatever the key.
void SimTab(QWidget* control);
// When Key is Return or Enter: Key becomes 0 and Control gets the focus when it can take it;
// true then, false for any other key.
bool SimTabControl(QWidget* control, int& key);

// Draws the smooth curve through the first Count points (see SplinePunkte).
void Spline(QPainter& canvas, const TPoints& points, int count, int maxY);

}  // namespace Tools
