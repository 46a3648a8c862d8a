#!/usr/bin/env bash
# End-to-end use of the tools by a C project (examples/consumer):
#   install   - installs this build into a fresh prefix, builds the consumer
#               against it with find_package() and runs it;
#   rebuild   - a changed keyword list regenerates the hash and relinks;
#   failure   - a list with a repeated keyword fails the build with the
#               collision report and leaves no generated file, stale or new;
#   subdir    - builds the consumer with the tools added by add_subdirectory();
#   cross     - the cross-build arrangement: generators from the installed
#               prefix (as a host build would provide them), the width library
#               built from source by add_subdirectory() (here with the native
#               compiler standing in for a cross compiler).
# Usage: consumer_test.sh <case> <build dir> <source dir> <C compiler> <C flags> <linker flags>
set -euo pipefail
case_name=$1 build_dir=$2 source_dir=$3 c_compiler=$4 c_flags=$5 linker_flags=$6

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
consumer_source=$source_dir/examples/consumer
expected_columns="bytes: 68, columns: 52"

fail() { echo "FAIL: $*" >&2; exit 1; }

configure_consumer() { # <binary dir> <extra cmake args...>
    local dir=$1; shift
    cmake -S "$consumer_source" -B "$dir" -DCMAKE_C_COMPILER="$c_compiler" \
        -DCMAKE_C_FLAGS="$c_flags" -DCMAKE_EXE_LINKER_FLAGS="$linker_flags" "$@" >"$work/configure.log" 2>&1 \
        || { cat "$work/configure.log"; fail "consumer configure"; }
}

install_prefix() {
    cmake --install "$build_dir" --prefix "$work/prefix" >"$work/install.log" 2>&1 \
        || { cat "$work/install.log"; fail "install"; }
    for f in bin/kwhashgen bin/chkprotogen lib/libwcwidthtab.a include/wcwidthtab.h \
             share/man/man1/kwhashgen.1 share/man/man1/chkprotogen.1 lib/pkgconfig/wcwidthtab.pc \
             lib/cmake/KarvoBuildTools/KarvoBuildToolsConfig.cmake \
             lib/cmake/KarvoBuildTools/KarvoBuildToolsConfigVersion.cmake; do
        [[ -e $work/prefix/$f ]] || fail "not installed: $f"
    done
}

run_consumer() { # <binary dir>
    local out
    out=$("$1/consumer")
    echo "$out"
    grep -qF "$expected_columns" <<<"$out" || fail "wrong widths"
    grep -qF "reserved word: while (token 3)" <<<"$out" || fail "keyword lookup"
}

case $case_name in
install)
    install_prefix
    configure_consumer "$work/consumer" -DCMAKE_PREFIX_PATH="$work/prefix"
    cmake --build "$work/consumer" || fail "consumer build"
    run_consumer "$work/consumer"
    ;;
rebuild)
    install_prefix
    cp "$consumer_source/keywords.txt" "$work/keywords.txt"
    configure_consumer "$work/consumer" -DCMAKE_PREFIX_PATH="$work/prefix" \
        -DCONSUMER_KEYWORDS="$work/keywords.txt"
    cmake --build "$work/consumer" || fail "first build"
    grep -qF '"while"' "$work/consumer/keyword_hash.c" || fail "first hash"
    ! grep -qF '"until"' "$work/consumer/keyword_hash.c" || fail "first hash has until"
    sleep 1
    printf 'until\tCTOK_WHILE\n' >>"$work/keywords.txt"
    cmake --build "$work/consumer" >"$work/rebuild.log" 2>&1 || { cat "$work/rebuild.log"; fail "rebuild"; }
    grep -qF "with kwhashgen" "$work/rebuild.log" || fail "hash not regenerated"
    grep -qF '"until"' "$work/consumer/keyword_hash.c" || fail "new keyword missing"
    "$work/consumer/consumer" "until x" | grep -qF "reserved word: until" || fail "new keyword not found"
    cmake --build "$work/consumer" >"$work/noop.log" 2>&1
    ! grep -qF "with kwhashgen" "$work/noop.log" || fail "regenerated without a change"
    ;;
failure)
    install_prefix
    cp "$consumer_source/keywords.txt" "$work/keywords.txt"
    configure_consumer "$work/consumer" -DCMAKE_PREFIX_PATH="$work/prefix" \
        -DCONSUMER_KEYWORDS="$work/keywords.txt"
    cmake --build "$work/consumer" || fail "first build"
    [[ -f $work/consumer/keyword_hash.c ]] || fail "no hash after a good build"
    sleep 1
    printf 'while\tCTOK_WHILE\n' >>"$work/keywords.txt"
    if cmake --build "$work/consumer" >"$work/fail.log" 2>&1; then
        cat "$work/fail.log"; fail "build with a repeated keyword succeeded"
    fi
    cat "$work/fail.log"
    grep -qF "Collision: while, while" "$work/fail.log" || fail "no collision report"
    grep -qF "Hash failed." "$work/fail.log" || fail "no failure message"
    [[ ! -e $work/consumer/keyword_hash.c ]] || fail "stale keyword_hash.c left behind"
    [[ ! -e $work/consumer/keyword_hash.c.partial ]] || fail "partial output left behind"
    ;;
subdir)
    configure_consumer "$work/consumer" -DKARVO_SOURCE_DIR="$source_dir"
    cmake --build "$work/consumer" -j2 >"$work/build.log" 2>&1 || { cat "$work/build.log"; fail "build"; }
    run_consumer "$work/consumer"
    ;;
cross)
    install_prefix
    configure_consumer "$work/consumer" -DKARVO_SOURCE_DIR="$source_dir" \
        -DKARVO_HOST_TOOLS="$work/prefix"
    cmake --build "$work/consumer" -j2 >"$work/build.log" 2>&1 || { cat "$work/build.log"; fail "build"; }
    grep -qF "$work/prefix/bin/kwhashgen" "$work/consumer/CMakeFiles/consumer.dir/build.make" \
        || fail "kwhashgen not taken from the host prefix"
    [[ ! -e $work/consumer/karvo-build-tools/kwhashgen/kwhashgen ]] || fail "kwhashgen was built"
    run_consumer "$work/consumer"
    ;;
*)
    fail "unknown case $case_name"
    ;;
esac
echo "PASS: $case_name"
