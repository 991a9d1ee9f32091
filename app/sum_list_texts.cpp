// The list window's texts.
#include "sum_list_texts.h"

#include <QLocale>
#include <QStringList>

#include "file_source.h"

namespace {

QString Number(std::size_t n) {
    return QLocale().toString(qulonglong{n});
}

}  // namespace

QString SumListTexts::CheckTitle(const QString& listName) {
    return tr("Checking %1").arg(listName);
}

QString SumListTexts::HashTitle(std::size_t files) {
    if (files == 1) return tr("Hashing 1 file");
    return tr("Hashing %1 files").arg(Number(files));
}

QString SumListTexts::CheckedFilesName() {
    return tr("Checked files");
}

QString SumListTexts::HashedFilesName() {
    return tr("Hashed files");
}

QString SumListTexts::SummaryName() {
    return tr("Summary");
}

QString SumListTexts::NameColumn() {
    return tr("Name");
}

QString SumListTexts::AlgorithmColumn() {
    return tr("Algorithm");
}

QString SumListTexts::StateColumn() {
    return tr("State");
}

QString SumListTexts::DigestColumn() {
    return tr("Digest");
}

QString SumListTexts::LineNumber(unsigned long line) {
    return tr("(line %1)").arg(line);
}

QString SumListTexts::State(RowState state, bool check, int percent, int error) {
    switch (state) {
        case RowState::Waiting:
            return tr("waiting");
        case RowState::Working:
            return check ? tr("checking %1%").arg(percent) : tr("hashing %1%").arg(percent);
        case RowState::Ok:
            return check ? tr("OK") : tr("done");
        case RowState::Failed:
            return tr("FAILED");
        case RowState::Missing:
            return tr("missing");
        case RowState::Unreadable:
            return error != 0
                       ? tr("unreadable: %1").arg(QString::fromStdString(FileErrorText(error)))
                       : tr("unreadable");
        case RowState::Improper:
            return tr("improper line");
        case RowState::Stopped:
            break;
    }
    return check ? tr("not checked") : tr("not hashed");
}

QString SumListTexts::CheckSummary(const Counts& counts) {
    QStringList parts;
    parts << tr("%1 OK").arg(Number(counts.ok)) << tr("%1 failed").arg(Number(counts.failed))
          << tr("%1 missing").arg(Number(counts.missing));
    if (counts.unreadable != 0) parts << tr("%1 unreadable").arg(Number(counts.unreadable));
    if (counts.improper == 1) parts << tr("1 improper line");
    if (counts.improper > 1) parts << tr("%1 improper lines").arg(Number(counts.improper));
    if (counts.stopped != 0) parts << tr("%1 not checked").arg(Number(counts.stopped));
    if (counts.waiting != 0) parts << tr("%1 to go").arg(Number(counts.waiting));
    return parts.join(QStringLiteral(", "));
}

QString SumListTexts::HashSummary(const Counts& counts) {
    QStringList parts;
    parts << tr("%1 hashed").arg(Number(counts.ok));
    if (counts.missing != 0) parts << tr("%1 missing").arg(Number(counts.missing));
    if (counts.unreadable != 0) parts << tr("%1 unreadable").arg(Number(counts.unreadable));
    if (counts.stopped != 0) parts << tr("%1 not hashed").arg(Number(counts.stopped));
    if (counts.waiting != 0) parts << tr("%1 to go").arg(Number(counts.waiting));
    return parts.join(QStringLiteral(", "));
}

QString SumListTexts::ListUnreadable(const QString& reason) {
    return tr("The list could not be read: %1").arg(reason);
}

QString SumListTexts::ListForeign(const QString& listName) {
    return tr("%1 is named for an algorithm Ostrel Corvane does not compute; not checked")
        .arg(listName);
}

QString SumListTexts::NoChecksumLines() {
    return tr("No properly formatted checksum lines found");
}

QString SumListTexts::Saved(const QString& path, std::size_t lines) {
    if (lines == 1) return tr("Saved 1 line to %1").arg(path);
    return tr("Saved %1 lines to %2").arg(Number(lines), path);
}

QString SumListTexts::NotSaved(const QString& path, const QString& reason) {
    return tr("Could not save %1: %2").arg(path, reason);
}

QString SumListTexts::ShowFailuresOnly() {
    return tr("Show &failures only");
}

QString SumListTexts::Copy() {
    return tr("&Copy");
}

QString SumListTexts::CopyAll() {
    return tr("Copy &all");
}

QString SumListTexts::CopyLines() {
    return tr("Copy lines");
}

QString SumListTexts::Save() {
    return tr("&Save...");
}

QString SumListTexts::SaveTitle() {
    return tr("Save checksum list");
}

QString SumListTexts::Stop() {
    return tr("S&top");
}

QString SumListTexts::CheckAgain() {
    return tr("Check a&gain");
}

QString SumListTexts::HashAgain() {
    return tr("Hash a&gain");
}

QString SumListTexts::Close() {
    return tr("Close");
}

QString SumListTexts::AlgorithmLabel() {
    return tr("A&lgorithm:");
}

QString SumListTexts::FormatLabel() {
    return tr("F&ormat:");
}

QString SumListTexts::GnuFormat() {
    return tr("GNU");
}

QString SumListTexts::BsdFormat() {
    return tr("BSD tags");
}

QString SumListTexts::SfvFormat() {
    return tr("SFV");
}
