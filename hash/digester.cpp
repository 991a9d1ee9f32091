// A streaming digester over all nine engines, through their adapters.
#include "digester.h"

#include <variant>

#include "digest_text.h"
#include "engine_adapters.h"

struct Digester::State {
    std::variant<Crc32Engine::Context, GostContext, CMD2, Md4Context, Md5Context, Sha1Context,
                 Sha2Context>
        context;
};

Digester::Digester(Algorithm chosen) : algorithm(chosen), state(std::make_unique<State>()) {
    WithEngine(chosen, [this](auto engine) {
        using E = decltype(engine);
        E::Init(state->context.template emplace<typename E::Context>());
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
    uint8_t digest[kMaxDigestLength];
    WithEngine(algorithm, [&](auto engine) {
        using E = decltype(engine);
        E::Final(std::get<typename E::Context>(state->context), digest);
    });
    state.reset();
    return DigestText(digest, DigestLength(algorithm));
}

DigestSet::DigestSet(std::span<const Algorithm> algorithms) {
    digesters.reserve(algorithms.size());
    for (Algorithm algorithm : algorithms) digesters.emplace_back(algorithm);
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
