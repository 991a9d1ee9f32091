// A streaming digester over all the engines, through their adapters.
#include "digester.h"

#include <variant>
#include <vector>

#include "digest_text.h"
#include "engine_adapters.h"

struct Digester::State {
    // CRC-32C's register shares CRC-32's alternative.
    std::variant<Crc32Engine::Context, GostContext, CMD2, Md4Context, Md5Context, Sha1Context,
                 Sha2Context, Blake2bContext, Blake2sContext, Blake3Engine::Context, Xxh32Context,
                 Xxh64Context, Xxh3Context, Sha256Context, Sha512Context, Sha3Context, Sm3Context,
                 StreebogContext>
        context;
};

Digester::Digester(Algorithm chosen, const DigestForm& form)
    : algorithm(chosen),
      digestLength(Facts(chosen).variableLength && form.digestBytes != 0 ? form.digestBytes
                                                                         : DigestLength(chosen)),
      state(std::make_unique<State>()) {
    WithEngine(chosen, [this, &form](auto engine) {
        using E = decltype(engine);
        auto& context = state->context.template emplace<typename E::Context>();
        if constexpr (requires { E::InitWithLength(context, digestLength, form.blake3); })
            E::InitWithLength(context, digestLength, form.blake3);
        else if constexpr (requires { E::InitWithLength(context, digestLength); })
            E::InitWithLength(context, digestLength);
        else
            E::Init(context);
    });
}
Digester::~Digester() = default;
Digester::Digester(Digester&&) noexcept = default;
Digester& Digester::operator=(Digester&&) noexcept = default;

void Digester::Update(const uint8_t* data, std::size_t length) {
    if (!state) return;  // spent or moved from
    WithEngine(algorithm, [&](auto engine) {
        using E = decltype(engine);
        UpdateAll<E>(std::get<typename E::Context>(state->context), data, length);
    });
}

std::string Digester::Final() {
    if (!state) return {};
    std::vector<uint8_t> digest(digestLength);
    WithEngine(algorithm, [&](auto engine) {
        using E = decltype(engine);
        E::Final(std::get<typename E::Context>(state->context), digest.data());
    });
    state.reset();
    return DigestText(digest.data(), digestLength);
}

DigestSet::DigestSet(std::span<const Algorithm> algorithms, const DigestForm& form) {
    digesters.reserve(algorithms.size());
    for (Algorithm algorithm : algorithms) digesters.emplace_back(algorithm, form);
}

void DigestSet::Update(const uint8_t* data, std::size_t length) {
    for (Digester& digester : digesters) digester.Update(data, length);
}

std::vector<std::string> DigestSet::Finish() {
    std::vector<std::string> digests;
    digests.reserve(digesters.size());
    for (Digester& digester : digesters) digests.push_back(digester.Final());
    return digests;
}
