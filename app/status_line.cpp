// The status line.
#include "status_line.h"

#include <QFontMetrics>
#include <QResizeEvent>
#include <algorithm>

#include "dialog_texts.h"

CStatusLine::CStatusLine(QWidget* parent) : QLabel(parent) {
    setAccessibleName(DialogTexts::StatusName());
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::PlainText);  // a file name is shown as it is, never as markup
    setWordWrap(true);
}

void CStatusLine::SetStatus(const QString& text) {
    status = text;
    setAccessibleDescription(text);
    ShowFitted();
}

void CStatusLine::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    ShowFitted();
}

void CStatusLine::ShowFitted() {
    const QFontMetrics metrics = fontMetrics();
    const QRect room = contentsRect();
    const auto fits = [&](const QString& text) {
        return metrics.boundingRect(room.adjusted(0, 0, 0, 1000), Qt::TextWordWrap, text)
                   .height() <= room.height();
    };
    QString fitted = status;
    // Shortened in the middle, a word-wrapped text has somewhat less than its lines' width.
    const int lines = std::max(1, room.height() / std::max(1, metrics.lineSpacing()));
    for (int width = lines * room.width(); !fits(fitted) && width > 0; width -= room.width() / 8)
        fitted = metrics.elidedText(status, Qt::ElideMiddle, width);
    setText(fitted);
    setToolTip(fitted == status ? QString() : status);
}
