// The Expected hash field.
#include "expected_field.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <limits>

#include "file_drop.h"

CExpectedField::CExpectedField(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("expectedBox"));
    // A pasted checksum line may be long; the default limit would cut it.
    setMaxLength(std::numeric_limits<int>::max());
}

void CExpectedField::dragEnterEvent(QDragEnterEvent* event) {
    if (CFileDropFilter::FirstLocalPath(event->mimeData()).empty()) {
        QLineEdit::dragEnterEvent(event);
        return;
    }
    if (isEnabled()) event->acceptProposedAction();
}

void CExpectedField::dragMoveEvent(QDragMoveEvent* event) {
    if (CFileDropFilter::FirstLocalPath(event->mimeData()).empty()) {
        QLineEdit::dragMoveEvent(event);
        return;
    }
    if (isEnabled()) event->acceptProposedAction();
}

void CExpectedField::dropEvent(QDropEvent* event) {
    const std::string path = CFileDropFilter::FirstLocalPath(event->mimeData());
    if (path.empty()) {
        QLineEdit::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    emit SumFileDropped(QByteArray::fromStdString(path));
}
