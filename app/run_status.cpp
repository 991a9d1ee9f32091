// The status line's text for an ended run.
#include "run_status.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "dialog_texts.h"

QString InputName(bool file, const QString& filePath) {
    if (!file) return DialogTexts::TheString();
    const QString name = QFileInfo(filePath).fileName();
    return name.isEmpty() ? filePath : name;  // "/tmp/" has no name of its own
}

RunFacts FactsOf(const HashOutcome& outcome) {
    RunFacts facts;
    facts.error = outcome.error;
    facts.bytes = outcome.bytesHashed;
    switch (outcome.status) {
        case HashStatus::Complete:
            // A request told no algorithm computes nothing, and says so by no digest.
            facts.end = outcome.digests.empty() ? RunEnd::NothingComputed : RunEnd::Digest;
            break;
        case HashStatus::NotFound:
            facts.end = RunEnd::NotFound;
            break;
        case HashStatus::OpenFailed:
            facts.end = RunEnd::OpenFailed;
            break;
        case HashStatus::ReadFailed:
            facts.end = RunEnd::ReadFailed;
            break;
        case HashStatus::Cancelled:
            facts.end = RunEnd::Stopped;
            break;
    }
    return facts;
}

QString RunStatus(const RunFacts& facts) {
    const QString name = InputName(facts.file, facts.filePath);
    const QString reason = QString::fromLocal8Bit(std::strerror(facts.error));
    switch (facts.end) {
        case RunEnd::Digest:
            return DialogTexts::DigestOf(facts.algorithm, name, facts.bytes);
        case RunEnd::NoFileGiven:
            return DialogTexts::NoFileGiven();
        case RunEnd::NotFound:
            return DialogTexts::NoSuchFile(name);
        case RunEnd::Stopped:
            return DialogTexts::Stopped(facts.bytes);
        case RunEnd::NothingComputed:
            return DialogTexts::NothingSelected();
        case RunEnd::OpenFailed:
        case RunEnd::ReadFailed:
            break;
    }
    // A folder opens on some systems and fails at its first read; either way it is a folder.
    if (facts.error == EISDIR) return DialogTexts::IsFolder(name);
    if (facts.error == EACCES || facts.error == EPERM) return DialogTexts::NoPermission(name);
    if (facts.error == ENOENT) return DialogTexts::NoSuchFile(name);
    if (facts.end == RunEnd::OpenFailed) return DialogTexts::CannotOpen(name, reason);
    if (facts.bytes == 0) return DialogTexts::CannotRead(name, reason);
    return DialogTexts::ReadFailedAfter(name, facts.bytes);
}
