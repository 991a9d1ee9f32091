// The Expected hash field: a single-line edit box for the digest a file or text should have,
// typed or pasted (a bare digest or a whole checksum line). A local file dropped on it is taken
// as a sum file to read the digest from, never spliced into the text.
#pragma once

#include <QByteArray>
#include <QLineEdit>
#include <QString>

class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QWidget;

class CExpectedField : public QLineEdit {
    Q_OBJECT
public:
    explicit CExpectedField(QWidget* parent = nullptr);

signals:
    void SumFileDropped(const QByteArray& path);  // in bytes

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
