// What the status line says once a run has ended: what the digest is of, or in a few words why
// there is none.
#pragma once

#include <QString>
#include <cstdint>

#include "pipeline.h"

enum class RunEnd {
    Digest,           // the output box holds a digest
    NoFileGiven,      // "Hash file" with an empty path box
    NotFound,         // the path names nothing
    OpenFailed,       // the file could not be opened: `error`
    ReadFailed,       // a read failed after `bytes` bytes: `error`
    Stopped,          // Stop (or a close) ended it after `bytes` bytes
    NothingComputed,  // no algorithm was selected
};

struct RunFacts {
    bool file = false;
    QString filePath;   // the path hashed, as it stood in the box
    QString algorithm;  // the list's entry
    RunEnd end = RunEnd::Digest;
    int error = 0;       // errno of a failed open or read
    uint64_t bytes = 0;  // bytes hashed; for a digest, all of the input
};

// How a command ended, as the request's last outcome tells it: `end`, `error` and `bytes`.
RunFacts FactsOf(const HashOutcome& outcome);
QString RunStatus(const RunFacts& facts);
// The name the status line gives the input: a file's name, or "the string".
QString InputName(bool file, const QString& filePath);
