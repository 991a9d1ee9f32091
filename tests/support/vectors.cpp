#include "vectors.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> out;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, '\t')) out.push_back(field);
    return out;
}

// "text:abc", "ramp:N", "ramp-bytes:0..255", "repeat:HEX:N".
std::string Message(const std::string& spec) {
    const auto colon = spec.find(':');
    const std::string kind = spec.substr(0, colon);
    const std::string arg = spec.substr(colon + 1);
    if (kind == "text") return arg;
    if (kind == "ramp") return RampMessage(std::stoul(arg));
    if (kind == "ramp-bytes") {
        const auto dots = arg.find("..");
        std::string out;
        for (unsigned long b = std::stoul(arg.substr(0, dots));
             b <= std::stoul(arg.substr(dots + 2)); ++b)
            out.push_back(static_cast<char>(b));
        return out;
    }
    if (kind == "repeat") {
        const auto second = arg.find(':');
        const char byte = static_cast<char>(std::stoul(arg.substr(0, second), nullptr, 16));
        return std::string(std::stoul(arg.substr(second + 1)), byte);
    }
    throw std::runtime_error("unknown message kind: " + spec);
}

std::vector<DigestVector> Load() {
    std::ifstream in(TestDataPath("digests.tsv"));
    if (!in) {
        std::fprintf(stderr, "cannot open %s\n", TestDataPath("digests.tsv").c_str());
        std::abort();
    }
    std::string line;
    std::getline(in, line);
    const auto header = SplitTabs(line);
    std::vector<DigestVector> rows;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        const auto fields = SplitTabs(line);
        if (fields.size() != header.size()) {
            std::fprintf(stderr, "malformed row: %s\n", line.c_str());
            std::abort();
        }
        DigestVector v;
        v.name = fields[0];
        v.message = Message(fields[1]);
        for (std::size_t i = 2; i < fields.size(); ++i) v.digest[header[i]] = fields[i];
        rows.push_back(std::move(v));
    }
    return rows;
}

}  // namespace

const std::vector<DigestVector>& SharedVectors() {
    static const std::vector<DigestVector> rows = Load();
    return rows;
}

const DigestVector& SharedVector(const std::string& name) {
    for (const auto& v : SharedVectors())
        if (v.name == name) return v;
    std::fprintf(stderr, "no shared vector named %s\n", name.c_str());
    std::abort();
}

std::string RampMessage(std::size_t length) {
    std::string out(length, '\0');
    for (std::size_t i = 0; i < length; ++i) out[i] = static_cast<char>((7 * i + 3) & 0xff);
    return out;
}

std::string ToHex(const uint8_t* data, std::size_t length) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < length; ++i) {
        out.push_back(digits[data[i] >> 4]);
        out.push_back(digits[data[i] & 15]);
    }
    return out;
}

std::string ToHex(const std::string& bytes) {
    return ToHex(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::string TestDataPath(const std::string& file) {
    return std::string(CORVANE_TEST_DATA) + "/" + file;
}
