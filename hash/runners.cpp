// The byte-digest runners: one family over GOST R 34.11-94, MD2, MD4, MD5, SHA-1 and SHA-2. A
// text goes to the engine in one update, a file in 16000-byte chunks, and the digest becomes
// DigestText. A file that does not open or is not read
// to its end has no digest: the result is then the empty text, never the digest of a prefix.
#include <cstring>
#include <string>

#include "chunk_loop.h"
#include "digest_text.h"
#include "engine_adapters.h"
#include "hash_request.h"

namespace {

// Whether a path can name a file at all: not empty, and no zero byte cutting it short.
bool NamesAFile(const std::string& path) {
    return !path.empty() && path.find('\0') == std::string::npos;
}

// The shared file path: the engine fed chunk by chunk through the read loop.
template <class E>
bool DigestFile(typename E::Context& context, int32_t width, const FileOpener& opener,
                const std::string& path, ReadWatch& watch) {
    E::Init(context, width);
    const ChunkSink sink = [&context](const uint8_t* data, uint32_t length) {
        E::Update(context, data, length);
    };
    return ReadFileChunks(opener, path, sink, watch) == ReadOutcome::Complete;
}

// Every engine finishes here: MD5 reads its file through the same loop as the others (its own
// file reader takes 2048 bytes at a time, which costs a fifth of its speed).
template <class E>
std::size_t FinishFile(typename E::Context& context, uint8_t* digest) {
    return E::Final(context, digest);
}

}  // namespace

template <class Engine>
std::string HashRequest::RunEngine() {
    const bool fromFile = source == kSourceFile;
    // Before any engine call, and outputText stays as Compute left it.
    if (fromFile && !NamesAFile(filePath)) return {};

    ReadWatch watch = MakeWatch(fromFile ? (progress ? ExpectedFileSize(filePath) : 0)
                                         : static_cast<uint64_t>(inputText.size()));
    if (watch.Cancelled()) return {};

    typename Engine::Context context;
    uint8_t digest[kDigestArea];
    std::size_t length = 0;
    if (fromFile) {
        if (!DigestFile<Engine>(context, sha2Width, fileOpener, filePath, watch)) return {};
        length = FinishFile<Engine>(context, digest);
    } else {
        Engine::Init(context, sha2Width);
        UpdateAll<Engine>(context, reinterpret_cast<const uint8_t*>(inputText.data()),
                          inputText.size());
        if (!watch.Advance(inputText.size())) return {};
        length = Engine::Final(context, digest);
    }
    AppendDigestText(outputText, digest, length);
    return outputText;
}

std::string HashRequest::ComputeGost() {
    return RunEngine<GostEngine>();
}
std::string HashRequest::ComputeMd2() {
    return RunEngine<Md2Engine>();
}
std::string HashRequest::ComputeMd4() {
    return RunEngine<Md4Engine>();
}
std::string HashRequest::ComputeMd5() {
    return RunEngine<Md5Engine>();
}
std::string HashRequest::ComputeSha1() {
    return RunEngine<Sha1Engine>();
}
std::string HashRequest::ComputeSha2() {
    return RunEngine<Sha2Engine>();
}
