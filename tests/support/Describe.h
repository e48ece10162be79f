// A window's controls as a player sees them, one line each, for comparison with a listing typed
// from the design's numbers under tests/fixtures.
#pragma once

#include <QString>

class QWidget;

// The window (client size, font, title), then every named child of it, a frame's controls right
// after the frame: kind, parent (the window itself left out), geometry, font, alignment and colours
// of a label, caption, whether it is ticked, tool tip, and whether it is hidden or disabled. A font
// is given only where it is not the window's own.
QString DescribeControls(const QWidget& window);

// True when `actual` is the listing of tests/fixtures/`fixture` (its "#" lines are notes); otherwise
// prints the lines that differ, expected then actual.
bool SameAsFixture(const QString& actual, const QString& fixture);
