// The dialog font and dialog-unit conversion.
#include "dialog_font.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPoint>
#include <QString>
#include <QStringList>

namespace {

constexpr int kDialogPointSize = 8;

// Rounds a * b / c to the nearest integer, halves away from zero, for the non-negative values
// dialog geometry uses.
int MulDivRound(int a, int b, int c) {
    return (2 * a * b + c) / (2 * c);
}

}  // namespace

QFont DialogFont() {
    const QStringList installed = QFontDatabase::families();
    QString family = QStringLiteral("Arial");
    for (const char* candidate : {"Arial", "Liberation Sans", "Arimo"}) {
        if (installed.contains(QLatin1String(candidate), Qt::CaseInsensitive)) {
            family = QLatin1String(candidate);
            break;
        }
    }
    QFont font(family, kDialogPointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    // The average over both alphabets, rounded to the nearest pixel: wider than the width of "x"
    // and steadier than the font's own average-width field, which many fonts leave rough.
    static const QString kAlphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const QFontMetrics metrics(font);
    DialogBaseUnits units;
    units.charWidth = (metrics.horizontalAdvance(kAlphabet) / 26 + 1) / 2;
    units.charHeight = metrics.height();
    return units;
}

QRect MapDialogRect(const DialogBaseUnits& units, int x, int y, int width, int height) {
    // Each value on its own, as a dialog manager creates controls from a template.
    return QRect(QPoint(MulDivRound(x, units.charWidth, 4), MulDivRound(y, units.charHeight, 8)),
                 MapDialogSize(units, width, height));
}

QSize MapDialogSize(const DialogBaseUnits& units, int width, int height) {
    return QSize(MulDivRound(width, units.charWidth, 4), MulDivRound(height, units.charHeight, 8));
}
