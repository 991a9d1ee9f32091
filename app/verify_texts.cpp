// The texts of verifying.
#include "verify_texts.h"

#include <QFile>
#include <QStringList>
#include <cstring>

#include "byte_names.h"
#include "sum_file.h"
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

QString VerifyTexts::VerdictAlgorithm(const ::Verdict& verdict) {
    // A length of its own is named as its line's tag has it ("BLAKE2b-256").
    return verdict.digestBytes != 0
               ? QString::fromStdString(TagFor(verdict.algorithm, verdict.digestBytes))
               : ListText(verdict.algorithm);
}

QString VerifyTexts::AlgorithmNames(const std::vector<Algorithm>& algorithms) {
    QStringList names;
    for (Algorithm algorithm : algorithms) names << ListText(algorithm);
    return names.join(QStringLiteral(", "));
}

namespace {

// "MD4 and MD2", "MD4, MD2 and GOSTHash".
QString Listing(const std::vector<Algorithm>& algorithms) {
    QStringList names;
    for (Algorithm algorithm : algorithms) names << ListText(algorithm);
    if (names.size() < 2) return names.join(QString());
    const QString last = names.takeLast();
    return VerifyTexts::tr("%1 and %2").arg(names.join(QStringLiteral(", ")), last);
}

}  // namespace

VerifyTexts::Verdict VerifyTexts::Describe(const ::Verdict& verdict, const VerifiedRun& run,
                                           bool file, const QString& listedName,
                                           const QString& fileName) {
    QString source;
    switch (verdict.source) {
        case ExpectedSource::Field:
            source = tr("the Expected hash field");
            break;
        case ExpectedSource::Clipboard:
            source = tr("the clipboard");
            break;
        case ExpectedSource::SumFile:
            source = ShownName(verdict.sumFileName);
            break;
    }
    const QString algorithm = VerdictAlgorithm(verdict);
    const QString at = QString::number(verdict.firstDifference + 1);
    Verdict text;
    if (verdict.matches) {
        text.sentences << tr("Matches: %1, from %2.").arg(algorithm, source);
    } else {
        text.sentences << tr("Does not match: %1, from %2; first difference at character %3.")
                              .arg(algorithm, source, at);
    }
    if (verdict.signatureUnchecked) text.sentences << tr("Signature not checked.");
    if (!run.skipped.empty()) text.sentences << Skipped(run.skipped);
    if (run.clipboardDisagrees)
        text.sentences << tr("The clipboard differs; the sum file decides.");
    if (verdict.integrityOnly)
        text.sentences << (file ? tr("It shows the file undamaged, not untampered.")
                                : tr("It shows the string unchanged, not untampered."));
    if (!verdict.matches && run.tried.size() > 1)
        text.sentences << tr("Also tried: %1.")
                              .arg(Listing(
                                  std::vector<Algorithm>(run.tried.begin() + 1, run.tried.end())));
    if (file && !listedName.isEmpty() && listedName != fileName)
        text.sentences << tr("The line names %1.").arg(listedName);
    text.full = text.sentences.join(QLatin1Char(' '));
    if (!verdict.matches)
        text.full += QLatin1Char(' ') + tr("Expected %1, got %2.")
                                            .arg(QString::fromStdString(verdict.expected),
                                                 QString::fromStdString(verdict.actual));
    return text;
}

QString VerifyTexts::Skipped(const std::vector<SkippedSumFile>& skipped) {
    QStringList sentences;
    for (const SkippedSumFile& passed : skipped) {
        const QString name = ShownName(passed.name);
        switch (passed.reason) {
            case SumFileSkip::Unreadable:
                sentences << tr("%1 could not be read (%2).")
                                 .arg(name, QString::fromLocal8Bit(std::strerror(passed.error)));
                break;
            case SumFileSkip::NotRegular:
                sentences << tr("%1 is not a regular file.").arg(name);
                break;
            case SumFileSkip::PastBound:
                sentences << tr("%1 was read only to its first MiB, which does not list the file.")
                                 .arg(name);
                break;
        }
    }
    return sentences.join(QLatin1Char(' '));
}

QString VerifyTexts::NoSumFileLists(const QString& fileName) {
    return tr("No sum file beside %1 lists it.").arg(fileName);
}

QString VerifyTexts::Unverified(const QString& status, const QString& skipped,
                                const QString& noneLists) {
    QString text = tr("%1. %2").arg(status, noneLists);
    if (!skipped.isEmpty()) text += QLatin1Char(' ') + skipped;
    return text;
}

QString VerifyTexts::Retrying(Algorithm failed, const std::vector<Algorithm>& next) {
    return tr("%1 did not match; trying %2…").arg(ListText(failed), Listing(next));
}

QString VerifyTexts::FieldNamesFile(const QString& listedName) {
    return tr("The Expected hash field holds the line for %1: not compared with the string.")
        .arg(listedName);
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
