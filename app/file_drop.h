// Dropping a local file anywhere on the dialog puts its path into the path box: on the
// background, a label or a button, and on the edit boxes too, whose own dropping would splice the
// file's name into their text where it landed. Drops that carry no local file are left to the
// widgets (plain text still drops into an edit box as usual).
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QEvent;
class QMimeData;
class QWidget;

class CFileDropFilter : public QObject {
    Q_OBJECT
public:
    // Takes the dropped path, in bytes; false when no file may be dropped now (a run is on).
    using Target = std::function<bool(const std::string& path)>;
    // Whether a file may be dropped now.
    using Allowed = std::function<bool()>;

    CFileDropFilter(QWidget* dialog, Allowed allowed, Target target);

    // The first local file among the dropped URLs, percent-decoded to bytes; empty for none.
    static std::string FirstLocalPath(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Allowed allowed;
    Target target;
};
