// Dropping a local file anywhere on the dialog puts its path into the path box: on the
// background, a label or a button, and on the edit boxes too, whose own dropping would splice the
// file's name into their text where it landed. Drops that carry no local file are left to the
// widgets (plain text still drops into an edit box as usual). The dialog gets every local file
// of the drop: several, or a folder, go to the list window.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QEvent;
class QMimeData;
class QWidget;

class CFileDropFilter : public QObject {
    Q_OBJECT
public:
    // Takes the dropped paths, in bytes; false when no file may be dropped now (a run is on).
    using Target = std::function<bool(const std::vector<std::string>& paths)>;
    // Whether a file may be dropped now.
    using Allowed = std::function<bool()>;

    CFileDropFilter(QWidget* dialog, Allowed allowed, Target target);

    // The first local file among the dropped URLs, percent-decoded to bytes; empty for none.
    static std::string FirstLocalPath(const QMimeData* data);
    // Every local file among them, in their order.
    static std::vector<std::string> LocalPaths(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Allowed allowed;
    Target target;
};
