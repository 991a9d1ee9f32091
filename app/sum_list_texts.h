// The texts of the check/hash-list window, each through tr() so they are translated with the
// dialog's.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <cstddef>

#include "sum_list_run.h"

class SumListTexts {
    Q_DECLARE_TR_FUNCTIONS(SumListTexts)
public:
    static QString CheckTitle(const QString& listName);
    static QString HashTitle(std::size_t files);
    static QString CheckedFilesName();  // the table's accessible name in check mode
    static QString HashedFilesName();   // and in hash mode
    static QString SummaryName();
    static QString NameColumn();
    static QString AlgorithmColumn();
    static QString StateColumn();
    static QString DigestColumn();
    // An improper line names no file: the Name column says where it is.
    static QString LineNumber(unsigned long line);
    // A row's state: "waiting", "checking 42%", "OK", "FAILED", "missing"...
    static QString State(RowState state, bool check, int percent, int error);

    // The summary, counted as corvane-sum's words count them: "38 OK, 1 failed, 1 missing".
    struct Counts {
        std::size_t ok = 0, failed = 0, missing = 0, unreadable = 0, improper = 0, stopped = 0,
                    waiting = 0;
    };
    static QString CheckSummary(const Counts& counts);
    static QString HashSummary(const Counts& counts);
    static QString ListUnreadable(const QString& reason);
    static QString ListForeign(const QString& listName);
    static QString NoChecksumLines();
    static QString Saved(const QString& path, std::size_t lines);
    static QString NotSaved(const QString& path, const QString& reason);

    static QString ShowFailuresOnly();
    static QString Copy();
    static QString CopyAll();
    static QString CopyLines();
    static QString Save();
    static QString SaveTitle();
    static QString Stop();
    static QString CheckAgain();
    static QString HashAgain();
    static QString Close();
    static QString AlgorithmLabel();
    static QString FormatLabel();
    static QString GnuFormat();
    static QString BsdFormat();
    static QString SfvFormat();
};
