// The dialog font and the conversion from dialog units to pixels. A dialog unit is a quarter of the
// font's average character width horizontally and an eighth of its character height vertically, so
// the layout keeps its proportions at any font size or screen resolution.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

// "Arial" 8 point where it is installed, else the first metric-compatible family present
// (Liberation Sans, Arimo), else whatever sans-serif font Qt matches for "Arial".
QFont DialogFont();

struct DialogBaseUnits {
    int charWidth = 0;   // average width of the Latin letters, in pixels
    int charHeight = 0;  // line height of the font, in pixels
};

DialogBaseUnits BaseUnitsOf(const QFont& font);

QRect MapDialogRect(const DialogBaseUnits& units, int x, int y, int width, int height);
QSize MapDialogSize(const DialogBaseUnits& units, int width, int height);
