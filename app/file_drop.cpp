// File drops onto the dialog.
#include "file_drop.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QList>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <utility>

CFileDropFilter::CFileDropFilter(QWidget* dialog, Allowed isAllowed, Target toPathBox)
    : QObject(dialog), allowed(std::move(isAllowed)), target(std::move(toPathBox)) {
    dialog->setAcceptDrops(true);
    dialog->installEventFilter(this);
    // Every widget that takes drops of its own, the output box's viewport included.
    for (QWidget* child : dialog->findChildren<QWidget*>()) child->installEventFilter(this);
}

QString CFileDropFilter::FirstLocalPath(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return QString();
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty()) return url.toLocalFile();
    }
    return QString();
}

bool CFileDropFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return QObject::eventFilter(watched, event);
    }
    auto* drop = static_cast<QDropEvent*>(event);  // DragEnter and DragMove derive from it
    const QString path = FirstLocalPath(drop->mimeData());
    if (path.isEmpty()) return false;  // not a file: the widget decides
    if (!allowed()) {
        drop->ignore();
        return true;
    }
    if (type == QEvent::Drop && !target(path)) {
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    return true;
}
