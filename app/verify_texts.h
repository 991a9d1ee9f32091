// The texts of verifying: the Expected hash row, the verdict and what a sum file dropped on the
// field can go wrong with. Each through tr(), so they are translated with the rest of the dialog.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <vector>

#include "verdict.h"

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

    // The verdict as the line shows it (in a few words: whether it matches, the algorithm, the
    // source, where the digests first differ) and in full (both digests, and the notes: a match
    // of a weak algorithm, an unchecked signature, a line that names another file), for the tool
    // tip and screen readers. `file` says whether a file or the string was hashed.
    struct Verdict {
        QString shown;
        QString full;
    };
    static Verdict Describe(const ::Verdict& verdict, bool file, const QString& listedName,
                            const QString& fileName);
    static QString NotRecognised();

    // A sum file dropped on or chosen for the Expected hash field.
    static QString SumFileUnreadable(const QString& sumFile);
    static QString SumFileLacks(const QString& sumFile, const QString& fileName);
};
