// The dialog's own texts.
#include "dialog_texts.h"

#include <QLocale>
#include <algorithm>

namespace {

// Before this much time has passed, the speed says too little about the rest of the run.
constexpr int64_t kTimeLeftAfterMs = 1000;

QString Decimal(double value, int decimals) {
    return QLocale().toString(value, 'f', decimals);
}

}  // namespace

QString DialogTexts::StopButton() {
    return tr("Stop");
}

QString DialogTexts::StatusName() {
    return tr("Status");
}

QString DialogTexts::ProgressName() {
    return tr("Progress");
}

QString DialogTexts::CopyButton() {
    return tr("Copy");
}

QString DialogTexts::CopyButtonName() {
    return tr("Copy output hash");
}

QString DialogTexts::Copied(const QString& text) {
    return tr("Copied to the clipboard: %1").arg(text);
}

QString DialogTexts::NameFromLabel(const QString& label) {
    QString name = label;
    name.remove(QLatin1Char('&'));
    if (name.endsWith(QLatin1Char(':'))) name.chop(1);
    return name.trimmed();
}

QString DialogTexts::TheString() {
    return tr("the string");
}

QString DialogTexts::Hashing(const QString& input, const QString& algorithm) {
    return tr("Hashing %1 with %2\u2026").arg(input, algorithm);
}

QString DialogTexts::DigestOf(const QString& algorithm, const QString& input, uint64_t bytes) {
    if (bytes == 1) return tr("%1 of %2, 1 byte").arg(algorithm, input);
    return tr("%1 of %2, %3 bytes").arg(algorithm, input, QLocale().toString(qulonglong{bytes}));
}

QString DialogTexts::EarlierInput(const QString& status) {
    return tr("%1 (earlier input)").arg(status);
}

QString DialogTexts::NoFileGiven() {
    return tr("No file given");
}

QString DialogTexts::NoSuchFile(const QString& name) {
    return tr("No such file: %1").arg(name);
}

QString DialogTexts::IsFolder(const QString& name) {
    return tr("%1 is a folder").arg(name);
}

QString DialogTexts::NoPermission(const QString& name) {
    return tr("No permission to read %1").arg(name);
}

QString DialogTexts::CannotOpen(const QString& name, const QString& reason) {
    return tr("Cannot open %1: %2").arg(name, reason);
}

QString DialogTexts::CannotRead(const QString& name, const QString& reason) {
    return tr("Cannot read %1: %2").arg(name, reason);
}

QString DialogTexts::ReadFailedAfter(const QString& name, uint64_t bytes) {
    return tr("Reading %1 failed after %2 MB").arg(name, Megabytes(bytes));
}

QString DialogTexts::Stopped(uint64_t bytes) {
    if (bytes == 0) return tr("Stopped");
    return tr("Stopped after %1 MB").arg(Megabytes(bytes));
}

QString DialogTexts::NothingSelected() {
    return tr("No algorithm selected");
}

QString DialogTexts::PageMissing(const QString& path) {
    return tr("The page is not installed: %1").arg(path);
}

QString DialogTexts::PageNotOpened(const QString& address) {
    return tr("Nothing could open %1").arg(address);
}

QString DialogTexts::Progress(uint64_t done, uint64_t total, int64_t elapsedMs) {
    const double seconds = static_cast<double>(std::max<int64_t>(elapsedMs, 1)) / 1000.0;
    const QString speed = Decimal(static_cast<double>(done) / 1e6 / seconds, 1);
    if (total == 0) return tr("%1 MB  %2 MB/s").arg(Megabytes(done), speed);
    // A file that grows while it is read can pass its first size: the share stops at 100%.
    const auto percent = static_cast<qulonglong>(
        std::min(100.0, 100.0 * static_cast<double>(done) / static_cast<double>(total)));
    const QString shown = tr("%1%  %2 MB/s").arg(QLocale().toString(percent), speed);
    if (elapsedMs < kTimeLeftAfterMs || done == 0 || done >= total) return shown;
    const double secondsLeft =
        static_cast<double>(total - done) * seconds / static_cast<double>(done);
    const auto whole = static_cast<uint64_t>(secondsLeft + 0.999);
    return tr("%1  %2 left").arg(shown, Duration(whole));
}

QString DialogTexts::Duration(uint64_t seconds) {
    if (seconds < 60) return tr("%1 s").arg(seconds);
    const QChar zero(QLatin1Char('0'));
    const QString secondsPart = QStringLiteral("%1").arg(seconds % 60, 2, 10, zero);
    if (seconds < 3600) return QStringLiteral("%1:%2").arg(seconds / 60).arg(secondsPart);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, zero)
        .arg(secondsPart);
}

QString DialogTexts::Megabytes(uint64_t bytes) {
    const double megabytes = static_cast<double>(bytes) / 1e6;
    return Decimal(megabytes, megabytes < 10 ? 1 : 0);
}
