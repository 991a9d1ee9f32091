// HashRequest as the dialog's list entries set it up, for tests that run every algorithm through
// the request: an entry's column of the shared table, and its digest of a text or a file.
#pragma once

#include <string>

#include "algorithms.h"
#include "hash_request.h"

inline std::string Column(const AlgorithmListEntry& e) {
    return std::string(AlgorithmName(e.algorithm));
}

inline HashRequest RequestFor(const AlgorithmListEntry& e) {
    HashRequest request;
    request.SetAlgorithm(e.hashAlgorithm);
    if (e.sha2Width != 0) request.SetSha2Width(e.sha2Width);
    return request;
}

inline std::string OfText(const AlgorithmListEntry& e, const std::string& text) {
    HashRequest request = RequestFor(e);
    request.SetSource(kSourceText);
    request.SetInputText(text);
    return request.Compute();
}

inline std::string OfFile(const AlgorithmListEntry& e, const std::string& path) {
    HashRequest request = RequestFor(e);
    request.SetSource(kSourceFile);
    request.SetFilePath(path);
    return request.Compute();
}
