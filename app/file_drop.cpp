// File drops onto the dialog.
#include "file_drop.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QList>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <utility>

#include "byte_names.h"

CFileDropFilter::CFileDropFilter(QWidget* dialog, Allowed isAllowed, Target toPathBox)
    : QObject(dialog), allowed(std::move(isAllowed)), target(std::move(toPathBox)) {
    dialog->setAcceptDrops(true);
    dialog->installEventFilter(this);
    // Every widget that takes drops of its own, the output box's viewport included.
    for (QWidget* child : dialog->findChildren<QWidget*>()) child->installEventFilter(this);
}

std::string CFileDropFilter::FirstLocalPath(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return std::string();
    for (const QUrl& url : data->urls()) {
        // Not toLocalFile(): it decodes "%FF" to U+FFFD, naming another file or none.
        std::string path = LocalPathBytes(url);
        if (!path.empty()) return path;
    }
    return std::string();
}

std::vector<std::string> CFileDropFilter::LocalPaths(const QMimeData* data) {
    std::vector<std::string> paths;
    if (data == nullptr || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        std::string path = LocalPathBytes(url);
        if (!path.empty()) paths.push_back(std::move(path));
    }
    return paths;
}

bool CFileDropFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return QObject::eventFilter(watched, event);
    }
    auto* drop = static_cast<QDropEvent*>(event);  // DragEnter and DragMove derive from it
    const std::vector<std::string> paths = LocalPaths(drop->mimeData());
    if (paths.empty()) return false;  // not a file: the widget decides
    if (!allowed()) {
        drop->ignore();
        return true;
    }
    if (type == QEvent::Drop && !target(paths)) {
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    return true;
}
