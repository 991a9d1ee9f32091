// The verdict line.
#include "verdict_line.h"

#include <QAccessible>
#include <QAccessibleWidget>
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

// The line as screen readers meet it: an alert named "Verification" whose text is the whole
// verdict, readable by character, word or line like any static text.
class VerdictAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit VerdictAccessible(CVerdictLine* line)
        : QAccessibleWidget(line, QAccessible::AlertMessage) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text which) const override {
        if (which == QAccessible::Description) return Line()->FullText();
        return QAccessibleWidget::text(which);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        return state;
    }

    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override {
        return Line()->FullText().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Line()->FullText().size()); }
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return QString();
    }

private:
    const CVerdictLine* Line() const { return static_cast<const CVerdictLine*>(object()); }
};

}  // namespace

QAccessibleInterface* CVerdictLine::AccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("CVerdictLine") && object && object->isWidgetType())
        return new VerdictAccessible(static_cast<CVerdictLine*>(object));
    return nullptr;
}

CVerdictLine::CVerdictLine(QWidget* parent) : QLabel(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(&CVerdictLine::AccessibleFactory);
        return true;
    }();
    (void)installed;
    setObjectName(QStringLiteral("verificationLine"));
    setAccessibleName(VerifyTexts::VerificationName());
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
}

int CVerdictLine::IconSize() const {
    return fontMetrics().height();
}

void CVerdictLine::ShowVerdict(Kind verdictKind, const QStringList& verdictSentences,
                               const QString& fullText) {
    kind = verdictKind;
    sentences = verdictSentences;
    full = fullText.isEmpty() ? sentences.join(QLatin1Char(' ')) : fullText;
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, ColourOf(kind));
    setPalette(colours);
    setContentsMargins(IconSize() + IconSize() / 3, 0, 0, 0);
    setAccessibleDescription(full);
    ShowFitted();
    QAccessibleTextUpdateEvent changed(this, 0, QString(), full);
    QAccessible::updateAccessibility(&changed);
}

void CVerdictLine::Announce() {
    if (kind == Kind::None || !isVisible()) return;
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void CVerdictLine::Clear() {
    kind = Kind::None;
    sentences.clear();
    full.clear();
    setAccessibleDescription(QString());
    setText(QString());
    setToolTip(QString());
}

void CVerdictLine::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    ShowFitted();
}

int CVerdictLine::NeededHeight() const {
    return fontMetrics()
        .boundingRect(contentsRect().adjusted(0, 0, 0, 1000), Qt::TextWordWrap, text())
        .height();
}

int CVerdictLine::AvailableHeight() const {
    return contentsRect().height();
}

void CVerdictLine::ShowFitted() {
    // Whole sentences, the first always; the rest while they fit.
    QString fitted;
    for (const QString& sentence : sentences) {
        const QString longer = fitted.isEmpty() ? sentence : fitted + QLatin1Char(' ') + sentence;
        setText(longer);
        if (!fitted.isEmpty() && NeededHeight() > AvailableHeight()) break;
        fitted = longer;
    }
    setText(fitted);
    setToolTip(fitted == full ? QString() : full);
}

void CVerdictLine::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (kind == Kind::None) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal size = IconSize();
    const QRectF circle(0.5, 0.5, size - 1, size - 1);
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
