// The About box: the product's name, version and a one-line description, with an OK button.
#pragma once

#include <QDialog>

class QWidget;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
