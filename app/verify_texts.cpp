// The texts of verifying.
#include "verify_texts.h"

#include <QFile>
#include <QStringList>

#include "verify_command.h"

namespace {

// The algorithm as the list names it, so the verdict and the list read alike.
QString ListText(Algorithm algorithm) {
    const int index = ListIndexOf(algorithm);
    return index < 0 ? QString() : QString::fromUtf8(kAlgorithmList[std::size_t(index)].text);
}

}  // namespace

QString VerifyTexts::ExpectedLabel() {
    return tr("Expected hash:");
}

QString VerifyTexts::SumFileButton() {
    return tr("Sum file...");
}

QString VerifyTexts::SumFileButtonName() {
    return tr("Choose a sum file");
}

QString VerifyTexts::SumFileFilter() {
    return tr("All Files (*)");
}

QString VerifyTexts::VerificationName() {
    return tr("Verification");
}

QString VerifyTexts::AlgorithmNames(const std::vector<Algorithm>& algorithms) {
    QStringList names;
    for (Algorithm algorithm : algorithms) names << ListText(algorithm);
    return names.join(QStringLiteral(", "));
}

VerifyTexts::Verdict VerifyTexts::Describe(const ::Verdict& verdict, bool file,
                                           const QString& listedName, const QString& fileName) {
    QString source, shortSource;
    switch (verdict.source) {
        case ExpectedSource::Field:
            source = tr("the Expected hash field");
            shortSource = tr("field");
            break;
        case ExpectedSource::Clipboard:
            source = tr("the clipboard");
            shortSource = tr("clipboard");
            break;
        case ExpectedSource::SumFile:
            source = shortSource =
                QFile::decodeName(QByteArray::fromStdString(verdict.sumFileName));
            break;
    }
    const QString algorithm = ListText(verdict.algorithm);
    const QString at = QString::number(verdict.firstDifference + 1);
    Verdict text;
    // The line has room for about sixty characters: what matters, in a few words.
    if (verdict.matches) {
        text.shown = tr("Matches (%1, %2)").arg(algorithm, shortSource);
        text.full = tr("Matches: %1, from %2.").arg(algorithm, source);
        if (verdict.integrityOnly) text.shown += tr(": undamaged, not untampered");
    } else {
        text.shown =
            tr("Does not match (%1, %2) from character %3").arg(algorithm, shortSource, at);
        text.full = tr("Does not match: %1, from %2.").arg(algorithm, source) + QLatin1Char(' ') +
                    tr("First difference at character %1: expected %2, got %3.")
                        .arg(at, QString::fromStdString(verdict.expected),
                             QString::fromStdString(verdict.actual));
    }
    const auto note = [&](const QString& sentence) { text.full += QLatin1Char(' ') + sentence; };
    if (verdict.integrityOnly)
        note(file ? tr("A match proves the file undamaged, not untampered.")
                  : tr("A match proves the string unchanged, not untampered."));
    if (verdict.signatureUnchecked) note(tr("The signature around the digest was not checked."));
    if (file && !listedName.isEmpty() && listedName != fileName)
        note(tr("The line names %1.").arg(listedName));
    return text;
}

QString VerifyTexts::NotRecognised() {
    return tr("Expected hash not recognised: not a digest of a known length or a checksum line.");
}

QString VerifyTexts::SumFileUnreadable(const QString& sumFile) {
    return tr("Cannot read %1.").arg(sumFile);
}

QString VerifyTexts::SumFileLacks(const QString& sumFile, const QString& fileName) {
    if (fileName.isEmpty())
        return tr("Give the file first: %1 lists no single digest.").arg(sumFile);
    return tr("%1 lists no digest for %2.").arg(sumFile, fileName);
}
