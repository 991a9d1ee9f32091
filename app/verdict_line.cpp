// The verdict line.
#include "verdict_line.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>

#include "verify_texts.h"

namespace {

// Dark enough to read as text on a light window, in colour and in grey alike.
QColor ColourOf(CVerdictLine::Kind kind) {
    switch (kind) {
        case CVerdictLine::Kind::Match:
            return QColor(0x1b, 0x6e, 0x2e);
        case CVerdictLine::Kind::Mismatch:
            return QColor(0xb0, 0x1e, 0x1e);
        default:
            return QColor(0x6a, 0x4a, 0x00);
    }
}

}  // namespace

CVerdictLine::CVerdictLine(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("verificationLine"));
    setAccessibleName(VerifyTexts::VerificationName());
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextFormat(Qt::PlainText);
}

int CVerdictLine::IconSize() const {
    return fontMetrics().height();
}

void CVerdictLine::ShowVerdict(Kind verdictKind, const QString& shownText,
                               const QString& fullText) {
    kind = verdictKind;
    shown = shownText;
    full = fullText.isEmpty() ? shownText : fullText;
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, ColourOf(kind));
    setPalette(colours);
    setContentsMargins(IconSize() + IconSize() / 3, 0, 0, 0);
    setAccessibleDescription(full);
    ShowFitted();
}

void CVerdictLine::Clear() {
    kind = Kind::None;
    shown.clear();
    full.clear();
    setAccessibleDescription(QString());
    setText(QString());
    setToolTip(QString());
    hide();
}

void CVerdictLine::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    ShowFitted();
}

void CVerdictLine::ShowFitted() {
    const QString fitted = fontMetrics().elidedText(shown, Qt::ElideRight, contentsRect().width());
    setText(fitted);
    setToolTip(full);
}

void CVerdictLine::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (kind == Kind::None) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal size = IconSize();
    const QRectF circle(0.5, (height() - size) / 2 + 0.5, size - 1, size - 1);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ColourOf(kind));
    painter.drawEllipse(circle);
    QPen mark(Qt::white, size / 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(mark);
    painter.setBrush(Qt::NoBrush);
    const auto at = [&](qreal x, qreal y) {
        return QPointF(circle.left() + x * circle.width(), circle.top() + y * circle.height());
    };
    QPainterPath path;
    switch (kind) {
        case Kind::Match:
            path.moveTo(at(0.27, 0.52));
            path.lineTo(at(0.44, 0.69));
            path.lineTo(at(0.74, 0.33));
            break;
        case Kind::Mismatch:
            path.moveTo(at(0.32, 0.32));
            path.lineTo(at(0.68, 0.68));
            path.moveTo(at(0.68, 0.32));
            path.lineTo(at(0.32, 0.68));
            break;
        default:  // an exclamation mark
            path.moveTo(at(0.5, 0.24));
            path.lineTo(at(0.5, 0.56));
            path.moveTo(at(0.5, 0.76));
            path.lineTo(at(0.5, 0.77));
            break;
    }
    painter.drawPath(path);
}
