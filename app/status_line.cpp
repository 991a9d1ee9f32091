// The status line.
#include "status_line.h"

#include <QFontMetrics>
#include <QResizeEvent>

#include "dialog_texts.h"

CStatusLine::CStatusLine(QWidget* parent) : QLabel(parent) {
    setAccessibleName(DialogTexts::StatusName());
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextFormat(Qt::PlainText);  // a file name is shown as it is, never as markup
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
    const QString fitted =
        fontMetrics().elidedText(status, Qt::ElideMiddle, contentsRect().width());
    setText(fitted);
    setToolTip(fitted == status ? QString() : status);
}
