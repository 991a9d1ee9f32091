// The texts the dialog shows beyond its described controls: the Stop button, the status line,
// the progress bar and a few accessible names. Kept in one place, each through tr(), so they can
// be translated with the rest of the dialog.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <cstdint>

class DialogTexts {
    Q_DECLARE_TR_FUNCTIONS(DialogTexts)
public:
    static QString StopButton();
    static QString StatusName();
    static QString ProgressName();
    // The Copy button beside the output box, its accessible name, and what the status line says
    // for a moment after it copied.
    static QString CopyButton();
    static QString CopyButtonName();
    static QString Copied(const QString& text);
    // A label's text as an accessible name: "File to hash:" names its box "File to hash".
    static QString NameFromLabel(const QString& label);

    // The status line. `algorithm` is the list's entry; `input` a file's name or TheString().
    static QString TheString();
    static QString Hashing(const QString& input, const QString& algorithm);
    static QString DigestOf(const QString& algorithm, const QString& input, uint64_t bytes);
    static QString EarlierInput(const QString& status);
    static QString NoFileGiven();
    static QString NoSuchFile(const QString& name);
    static QString IsFolder(const QString& name);
    static QString NoPermission(const QString& name);
    static QString CannotOpen(const QString& name, const QString& reason);
    static QString CannotRead(const QString& name, const QString& reason);
    static QString ReadFailedAfter(const QString& name, uint64_t bytes);
    static QString Stopped(uint64_t bytes);
    static QString NothingSelected();
    static QString PageMissing(const QString& path);
    static QString PageNotOpened(const QString& address);

    // The progress bar: share done, speed and, once known, the time left; or, with no size to
    // measure against, the amount read and the speed.
    static QString Progress(uint64_t done, uint64_t total, int64_t elapsedMs);
    // "45 s", "2:05", "1:02:03": a duration in seconds as a clock would show it.
    static QString Duration(uint64_t seconds);
    // Megabytes (10^6 bytes): one decimal below ten, none above.
    static QString Megabytes(uint64_t bytes);
};
