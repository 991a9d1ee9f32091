// The verification row below the described controls: the Expected hash field, its label and the
// "Sum file..." button. It owns what a run verifies against: the field's digest (or the line a
// sum file put there), the clipboard's when it may count, and which field text the shown verdict
// was made for, so the verdict goes stale once the field is edited.
#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dialog_font.h"
#include "verify_command.h"

class CExpectedField;
class QLabel;
class QPushButton;

class CVerificationRow : public QWidget {
    Q_OBJECT
public:
    // Shows a file chooser owned by `owner`, starting in `folder`; the chosen path, or nothing.
    using FileChooser =
        std::function<std::optional<QString>(QWidget* owner, const QString& folder)>;
    // The row in the dialog's units: its left, top and right edges, and where the button starts.
    CVerificationRow(QWidget* dialog, const DialogBaseUnits& units);

    CExpectedField* Field() const { return field; }
    QPushButton* SumFileButton() const { return sumFileButton; }
    void SetSumFileChooser(FileChooser chooser) { sumFileChooser = std::move(chooser); }
    // Where the file to verify is, in bytes: the chooser starts in its folder.
    void SetFilePathSource(std::function<std::string()> source) { filePath = std::move(source); }

    // What a run of "Hash file" (`file`) or "Hash string" verifies against, read when the button
    // is pressed. `text` is the string being hashed.
    ExpectedSources TakeSources(bool file, const std::string& fileName, const QString& text);
    // The field held text that is no digest when the latest run started.
    bool NotRecognised() const { return notRecognised; }

    // Reads the sum file at `path` (bytes) and puts its line for the file into the field; the
    // notice to show when it cannot, else nothing.
    std::optional<QString> TakeSumFile(const std::string& path);

    // A verdict was shown for the field as it is now; `expected` (a digest from elsewhere) shows
    // greyed in the empty field while the verdict does.
    void VerdictShown(const QString& expected);
    // Whether the field is as it was when the shown verdict was made.
    bool VerdictCurrent() const;
    void ShowPlaceholder(bool shown);

signals:
    void Edited();
    // A sum file chosen or dropped that gave no line: the notice.
    void Notice(const QString& text);
    // A sum file chosen while the path box was empty: to check as a whole (its path in bytes).
    void SumListChosen(const QByteArray& path);

private:
    QLabel* label = nullptr;
    CExpectedField* field = nullptr;
    QPushButton* sumFileButton = nullptr;
    FileChooser sumFileChooser;
    std::function<std::string()> filePath;
    // The line a sum file put into the field, and what it was read as: while the field holds that
    // text, the sum file (and whether it was signed) is the source.
    struct FromSumFile {
        QString text;
        ExpectedDigest expected;
    };
    std::optional<FromSumFile> fromSumFile;
    QString verdictFieldText;
    QString placeholder;
    bool notRecognised = false;
};
