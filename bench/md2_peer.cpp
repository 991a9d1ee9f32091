// The MD2 peer for bench/compare: Crypto++'s MD2 over a file in 128 KiB reads, hex to stdout.
// Built by bench/compare against the system's libcrypto++; not part of the product.
#define CRYPTOPP_ENABLE_NAMESPACE_WEAK 1
#include <cryptopp/md2.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    std::FILE* file = std::fopen(argv[1], "rb");
    if (file == nullptr) return 1;
    CryptoPP::Weak::MD2 md2;
    std::vector<unsigned char> buffer(128 * 1024);
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), file)) > 0)
        md2.Update(buffer.data(), n);
    std::fclose(file);
    unsigned char digest[CryptoPP::Weak::MD2::DIGESTSIZE];
    md2.Final(digest);
    for (unsigned char b : digest) std::printf("%02x", b);
    std::printf("  %s\n", argv[1]);
    return 0;
}
