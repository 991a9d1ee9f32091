#!/usr/bin/env bash
# Succeeds when clang++ can link a libFuzzer harness with the sanitizers (its runtime is present).
set -u
command -v clang++ >/dev/null 2>&1 || exit 1
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
cat >"$dir/probe.cpp" <<'CPP'
#include <cstddef>
#include <cstdint>
extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }
CPP
clang++ -fsanitize=fuzzer,address,undefined "$dir/probe.cpp" -o "$dir/probe" >/dev/null 2>&1
