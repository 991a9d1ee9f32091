// The verification row.
#include "verification_row.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>

#include "byte_names.h"
#include "dialog_texts.h"
#include "expected_field.h"
#include "sum_file_search.h"
#include "verify_texts.h"

namespace {

std::string ToStd(const QString& text) {
    return text.toStdString();
}

// The line an expected digest puts into the field: with the tag when it names one algorithm,
// so reading it back gives the same candidates.
QString LineOf(const ExpectedDigest& expected) {
    SumLineStyle style;
    style.format = expected.candidates.size() == 1 ? SumFormat::Bsd : SumFormat::Gnu;
    style.digestBytes = expected.digestBytes;
    std::string line =
        FormatSumLine(expected.candidates.front(), expected.digest, expected.listedName, style);
    line.pop_back();  // the line end
    return ShownName(line);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

}  // namespace

CVerificationRow::CVerificationRow(QWidget* dialog, const DialogBaseUnits& units)
    : QWidget(dialog) {
    setObjectName(QStringLiteral("verificationRow"));
    // The row spans the dialog's width in its units; children are placed relative to it.
    const QRect row = MapDialogRect(units, 7, 215, 286, 14);
    setGeometry(row);
    const auto place = [&](int x, int y, int width, int height) {
        return MapDialogRect(units, x, y, width, height).translated(-row.topLeft());
    };
    label = new QLabel(VerifyTexts::ExpectedLabel(), this);
    label->setObjectName(QStringLiteral("expectedLabel"));
    // The label as wide as its text in this language needs; the field takes the rest of the row.
    const QRect labelCell = place(7, 218, 57, 8);
    label->setGeometry(
        QRect(labelCell.topLeft(), QSize(label->sizeHint().width(), labelCell.height())));
    field = new CExpectedField(this);
    QRect fieldCell = place(66, 215, 171, 14);
    fieldCell.setLeft(label->geometry().right() + 1 + MapDialogSize(units, 2, 0).width());
    field->setGeometry(fieldCell);
    label->setBuddy(field);
    field->setAccessibleName(DialogTexts::NameFromLabel(label->text()));
    sumFileButton = new QPushButton(VerifyTexts::SumFileButton(), this);
    sumFileButton->setObjectName(QStringLiteral("sumFileButton"));
    sumFileButton->setAccessibleName(VerifyTexts::SumFileButtonName());
    sumFileButton->setGeometry(place(243, 215, 50, 14));
    for (QWidget* plain : {static_cast<QWidget*>(label), static_cast<QWidget*>(sumFileButton)})
        plain->setContextMenuPolicy(Qt::NoContextMenu);  // the dialog's window menu instead
    setContextMenuPolicy(Qt::NoContextMenu);

    connect(sumFileButton, &QPushButton::clicked, this, [this] {
        const std::string file = filePath ? filePath() : std::string();
        const QString folder = ShownName(FolderOf(file));
        if (const std::optional<QString> chosen = sumFileChooser(window(), folder)) {
            // With no file to verify, the whole list is checked, in the list window.
            if (file.empty()) {
                emit SumListChosen(QByteArray::fromStdString(BytesOfChosen(*chosen)));
            } else if (std::optional<QString> notice = TakeSumFile(BytesOfChosen(*chosen))) {
                emit Notice(*notice);
            }
        }
    });
    connect(field, &CExpectedField::SumFileDropped, this, [this](const QByteArray& path) {
        if (std::optional<QString> notice = TakeSumFile(path.toStdString())) emit Notice(*notice);
    });
    connect(field, &QLineEdit::textChanged, this, &CVerificationRow::Edited);
}

ExpectedSources CVerificationRow::TakeSources(bool file, const std::string& fileName,
                                              const QString& text) {
    ExpectedSources sources;
    notRecognised = false;
    const std::string name = file ? fileName : std::string();
    const QString typed = field->text();
    if (!typed.trimmed().isEmpty()) {
        if (fromSumFile && fromSumFile->text == typed) {
            sources.field = fromSumFile->expected;
        } else {
            sources.field = ParseExpectedText(ToStd(typed), name, ExpectedSource::Field);
        }
        // Text that is no digest is said so, not passed over for a sum file or the clipboard.
        notRecognised = !sources.field;
        sources.lookBeside = !notRecognised;
        if (notRecognised) return sources;
    }
    const QString copied = QGuiApplication::clipboard()->text();
    // The string being hashed, copied to paste it, is not what it should hash to.
    if (!copied.isEmpty() && (file || copied != text))
        sources.clipboard = ParseExpectedText(ToStd(copied), name, ExpectedSource::Clipboard);
    return sources;
}

std::optional<QString> CVerificationRow::TakeSumFile(const std::string& path) {
    if (!isEnabled()) return std::nullopt;
    const QString sumName = ShownName(LastPart(path));
    const std::string fileName = LastPart(filePath ? filePath() : std::string());
    const SumFileResult read = ReadSumFile(path, fileName);
    if (!read.expected) {
        placeholder.clear();
        if (read.cut) return VerifyTexts::Skipped({{LastPart(path), SumFileSkip::PastBound, 0}});
        return read.readable ? VerifyTexts::SumFileLacks(sumName, ShownName(fileName))
                             : VerifyTexts::SumFileUnreadable(sumName);
    }
    const QString line = LineOf(*read.expected);
    fromSumFile = FromSumFile{line, *read.expected};
    field->setText(line);
    field->setCursorPosition(0);
    return std::nullopt;
}

void CVerificationRow::VerdictShown(const QString& expected) {
    verdictFieldText = field->text();
    placeholder = expected;
}

bool CVerificationRow::VerdictCurrent() const {
    return field->text() == verdictFieldText;
}

void CVerificationRow::ShowPlaceholder(bool shown) {
    field->setPlaceholderText(shown ? placeholder : QString());
}
