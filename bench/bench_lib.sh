# Shared by the comparison scripts of bench/: the Release build of corvane-sum and whole-process
# timing. Source it after setting `root` (the repository) and `dir` (a scratch folder).

# Ours: a Release build of the CLI alone, in $1 (default build/release); prints its path.
# -O2: what the engines are tuned and measured at (and GCC 12 at -O3 trips -Wrestrict in <string>).
build_corvane_sum() {
    local source=$1 build=$2
    cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCORVANE_BUILD_APP=OFF -DCORVANE_BUILD_TESTS=OFF \
        >/dev/null
    cmake --build "$build" -j2 --target corvane-sum >/dev/null
    local binary
    binary=$(find "$build" -name corvane-sum -type f -perm -u+x | head -n 1)
    [ -x "$binary" ] || { echo "bench: corvane-sum was not built in $build" >&2; return 1; }
    echo "$binary"
}

now() { echo "${EPOCHREALTIME/,/.}"; }
# output file, command... -> wall seconds of the command, its output (both streams) in the file
elapsed_to() {
    local out=$1 t0 t1
    shift
    t0=$(now)
    "$@" >"$out" 2>&1
    t1=$(now)
    awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.6f\n", b - a }'
}
elapsed() { elapsed_to "$dir/last.out" "$@"; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
