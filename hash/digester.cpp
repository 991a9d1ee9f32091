// A streaming digester over all nine engines, with the algorithms' names and text lengths.
#include "digester.h"

#include <cctype>
#include <string>
#include <variant>

#include "digest_text.h"
#include "engine_adapters.h"

namespace {

struct AlgorithmInfo {
    Algorithm algorithm;
    std::string_view name;
    std::string_view tag;
    std::size_t textLength;
};

constexpr AlgorithmInfo kInfo[] = {
    {Algorithm::Crc32, "crc32", "CRC32", 8},      {Algorithm::Gost, "gost", "GOST", 64},
    {Algorithm::Md2, "md2", "MD2", 32},           {Algorithm::Md4, "md4", "MD4", 32},
    {Algorithm::Md5, "md5", "MD5", 32},           {Algorithm::Sha1, "sha1", "SHA1", 40},
    {Algorithm::Sha256, "sha256", "SHA256", 64},  {Algorithm::Sha384, "sha384", "SHA384", 96},
    {Algorithm::Sha512, "sha512", "SHA512", 128},
};
static_assert(std::size(kInfo) == kAllAlgorithms.size());

const AlgorithmInfo& Info(Algorithm algorithm) {
    return kInfo[static_cast<std::size_t>(algorithm)];
}

}  // namespace

std::string_view AlgorithmName(Algorithm algorithm) {
    return Info(algorithm).name;
}
std::string_view AlgorithmTag(Algorithm algorithm) {
    return Info(algorithm).tag;
}
std::size_t DigestTextLength(Algorithm algorithm) {
    return Info(algorithm).textLength;
}

std::optional<Algorithm> ParseAlgorithm(std::string_view name) {
    // Case-insensitive; the hyphenated spellings ("SHA-256", "CRC-32") and the list's "GOSTHash"
    // are accepted too.
    std::string folded;
    for (char c : name)
        if (c != '-')
            folded.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    if (folded == "gosthash") return Algorithm::Gost;
    for (const auto& info : kInfo)
        if (folded == info.name) return info.algorithm;
    return std::nullopt;
}

namespace {

// Calls `f` with the adapter of `algorithm` (a value of the adapter type) and its SHA-2 width.
template <class F>
decltype(auto) WithEngine(Algorithm algorithm, F&& f) {
    switch (algorithm) {
        case Algorithm::Crc32:
            return f(Crc32Engine{}, 0);
        case Algorithm::Gost:
            return f(GostEngine{}, 0);
        case Algorithm::Md2:
            return f(Md2Engine{}, 0);
        case Algorithm::Md4:
            return f(Md4Engine{}, 0);
        case Algorithm::Md5:
            return f(Md5Engine{}, 0);
        case Algorithm::Sha1:
            return f(Sha1Engine{}, 0);
        case Algorithm::Sha256:
            return f(Sha2Engine{}, 256);
        case Algorithm::Sha384:
            return f(Sha2Engine{}, 384);
        case Algorithm::Sha512:
            break;
    }
    return f(Sha2Engine{}, 512);
}

}  // namespace

struct Digester::State {
    std::variant<Crc32Engine::Context, GostContext, CMD2, Md4Context, Md5Context, Sha1Context,
                 Sha2Context>
        context;
};

Digester::Digester(Algorithm algorithm) : algorithm_(algorithm), state_(std::make_unique<State>()) {
    WithEngine(algorithm, [this](auto engine, int32_t width) {
        using E = decltype(engine);
        E::Init(state_->context.template emplace<typename E::Context>(), width);
    });
}
Digester::~Digester() = default;
Digester::Digester(Digester&&) noexcept = default;
Digester& Digester::operator=(Digester&&) noexcept = default;

void Digester::Update(const uint8_t* data, std::size_t length) {
    if (!state_) return;  // spent or moved from
    WithEngine(algorithm_, [&](auto engine, int32_t) {
        using E = decltype(engine);
        UpdateAll<E>(std::get<typename E::Context>(state_->context), data, length);
    });
}

std::string Digester::Final() {
    if (!state_) return {};
    uint8_t digest[kDigestArea];
    const std::size_t length = WithEngine(algorithm_, [&](auto engine, int32_t) {
        using E = decltype(engine);
        return E::Final(std::get<typename E::Context>(state_->context), digest);
    });
    state_.reset();
    return DigestText(digest, length);
}
