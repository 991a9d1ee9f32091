// The texts of verifying: the Expected hash row, the verdict and what a sum file dropped on the
// field can go wrong with. Each through tr(), so they are translated with the rest of the dialog.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <vector>

#include "verdict.h"
#include "verify_command.h"

class VerifyTexts {
    Q_DECLARE_TR_FUNCTIONS(VerifyTexts)
public:
    static QString ExpectedLabel();  // "Expected hash:"
    static QString SumFileButton();
    static QString SumFileButtonName();
    static QString SumFileFilter();
    static QString VerificationName();
    // The algorithms as the list names them: "SHA-2 256, GOSTHash".
    static QString AlgorithmNames(const std::vector<Algorithm>& algorithms);
    // The verdict's algorithm as the list names it, or as its line's tag does for a length of its
    // own.
    static QString VerdictAlgorithm(const ::Verdict& verdict);

    // The verdict as sentences, the most important first (whether it matches, the algorithm,
    // the source, where the digests first differ; then the notes: an unchecked signature, a
    // preferred sum file passed over, a clipboard outvoted, a match of a weak algorithm, other
    // algorithms tried, a line that names another file), and in full, with both digests, for
    // screen readers. `file` says whether a file or the string was hashed.
    struct Verdict {
        QStringList sentences;
        QString full;
    };
    static Verdict Describe(const ::Verdict& verdict, const VerifiedRun& run, bool file,
                            const QString& listedName, const QString& fileName);
    // The sum files beside the file passed over, and why: "SHA256SUMS could not be read
    // (Permission denied)."; empty for none.
    static QString Skipped(const std::vector<SkippedSumFile>& skipped);
    static QString NoSumFileLists(const QString& fileName);
    // A run's status with what verifying found: "SHA-1 of x.iso, 3 bytes. No sum file ...".
    static QString Unverified(const QString& status, const QString& skipped,
                              const QString& noneLists);
    // "MD5 did not match; trying MD4 and MD2…"
    static QString Retrying(Algorithm failed, const std::vector<Algorithm>& next);
    static QString FieldNamesFile(const QString& listedName);
    static QString NotRecognised();

    // A sum file dropped on or chosen for the Expected hash field.
    static QString SumFileUnreadable(const QString& sumFile);
    static QString SumFileLacks(const QString& sumFile, const QString& fileName);
};
