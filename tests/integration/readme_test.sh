#!/usr/bin/env bash
# The build files that README.md shows, built exactly as written. A block that
# a test builds is preceded by a marker line, <!-- test: <route> -->, and the
# prose before it may state its length ("8 lines"). The routes:
#   blocks             - every cmake and make block carries a marker this script
#                        knows, each stated line count is its block's, and the
#                        README stays within 250 lines;
#   links              - the relative links of the README and docs/ lead to files
#                        and headings that exist;
#   cmake-package      - CMakeLists.txt over the example's sources, against this
#                        build installed into a fresh prefix;
#   cmake-subdirectory - CMakeLists.txt with this source tree as karvo-build-tools/;
#   makefile           - Makefile, with the installed generators on PATH and the
#                        installed pkg-config files;
#   cross              - the subdirectory route with the cross block in place of
#                        its add_subdirectory() line: generators from the installed
#                        prefix, the width library built from source.
# Each built library is then linked into the example's program, which must find
# a reserved word through the generated hash.
# Usage: readme_test.sh <route> <build dir> <source dir> <C compiler>
set -euo pipefail
route=$1 build_dir=$2 source_dir=$3 c_compiler=$4

readme=$source_dir/README.md
known_routes="cmake-package cmake-subdirectory makefile cross"

fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIP: $*"; exit 77; }

# The block after the marker of <route>, byte for byte; nothing if no marker.
extract_block() { # <route>
    awk -v marker="<!-- test: $1 -->" '
        in_block && /^```/ { exit }
        in_block { print; next }
        after_marker { if (/^```/) in_block = 1; else exit; next }
        $0 == marker { after_marker = 1 }
    ' "$readme"
}

# One line per marked block, "<route> <stated counts...>", the stated counts
# being every "<n> lines" in the prose since the previous block; an unmarked
# cmake or make block is listed as "unmarked <line number>".
list_blocks() {
    awk '
        in_block { if (/^```/) in_block = 0; next }
        /^```/ {
            if (pending != "") print pending, stated
            else if ($0 ~ /^```(cmake|make)$/) print "unmarked", NR
            in_block = 1; pending = ""; stated = ""; next
        }
        $0 ~ /^<!-- test: [^ ]+ -->$/ { pending = substr($0, 12, length($0) - 15); next }
        {
            text = $0
            while (match(text, /[0-9]+ lines?([^A-Za-z]|$)/)) {
                stated = stated " " (substr(text, RSTART, RLENGTH) + 0)
                text = substr(text, RSTART + RLENGTH)
            }
        }
    ' "$readme"
}

check_blocks() {
    local errors=0
    [[ $(wc -l <"$readme") -le 250 ]] || { echo "README.md has $(wc -l <"$readme") lines"; errors=1; }
    while read -r name stated_counts; do
        if [[ $name == unmarked ]]; then
            echo "README.md:$stated_counts: a build block that no test builds (mark it <!-- test: <route> -->)"
            errors=1
            continue
        fi
        [[ " $known_routes " == *" $name "* ]] || { echo "no test builds the block marked $name"; errors=1; }
        local lines
        lines=$(extract_block "$name" | wc -l)
        for stated in $stated_counts; do
            [[ $stated == "$lines" ]] || { echo "the block $name is said to be $stated lines, it is $lines"; errors=1; }
        done
    done < <(list_blocks)
    return $errors
}

# Every relative link of the README and docs/ names a file that exists, and a
# heading there when it names one (#anchor, as the heading's text lowercased,
# punctuation dropped, blanks made hyphens).
check_links() {
    local errors=0 file target path anchor
    for file in "$readme" "$source_dir"/docs/*.md; do
        while read -r target; do
            [[ $target == *://* || $target == mailto:* ]] && continue
            path=${target%%#*} anchor=
            [[ $target == *#* ]] && anchor=${target#*#}
            [[ -n $path ]] && path=$(dirname "$file")/$path || path=$file
            if [[ ! -e $path ]]; then
                echo "${file#"$source_dir"/}: the link $target names no file"; errors=1; continue
            fi
            if [[ -n $anchor ]] && ! grep -E '^#+ ' "$path" | sed -E 's/^#+ //' | tr 'A-Z' 'a-z' \
                    | sed -E 's/[^a-z0-9 _-]//g; s/ /-/g' | grep -qx -- "$anchor"; then
                echo "${file#"$source_dir"/}: the link $target names no heading"; errors=1
            fi
        done < <(grep -oE '\]\([^)]+\)' "$file" | sed -E 's/^\]\((.*)\)$/\1/')
    done
    return $errors
}

if [[ $route == links ]]; then
    check_links || fail "links of README.md and docs/"
    echo "PASS: links"
    exit 0
fi
if [[ $route == blocks ]]; then
    check_blocks || fail "README.md's build blocks"
    echo "PASS: blocks"
    exit 0
fi

[[ " $known_routes " == *" $route "* ]] || fail "unknown route $route"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix src=$work/src build=$work/build

block=$(extract_block "$route")
[[ -n $block ]] || fail "README.md has no block marked <!-- test: $route -->"

# The example's sources, with the README's build file in place of its own.
cp -r "$source_dir/examples/consumer" "$src"
rm -f "$src/CMakeLists.txt" "$src/Makefile"

install_prefix() {
    cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1 \
        || { cat "$work/install.log"; fail "install"; }
}

cmake_build() { # <cmake args...>
    cmake -S "$src" -B "$build" -DCMAKE_C_COMPILER="$c_compiler" "$@" >"$work/configure.log" 2>&1 \
        || { cat "$work/configure.log"; fail "configure"; }
    cmake --build "$build" -j2 >"$work/build.log" 2>&1 || { cat "$work/build.log"; fail "build"; }
}

# The example's program over the library the block built.
run_program() { # <folder of libmylib.so>
    [[ -f $1/libmylib.so ]] || fail "no libmylib.so in $1"
    "$c_compiler" -o "$work/program" "$src/main.c" -L"$1" -lmylib -Wl,-rpath,"$1" \
        || fail "the program does not link with libmylib.so"
    "$work/program" | grep -qF "reserved word: while (token 3)" || fail "the generated hash does not find while"
}

case $route in
cmake-package)
    install_prefix
    printf '%s\n' "$block" >"$src/CMakeLists.txt"
    cmake_build -DCMAKE_PREFIX_PATH="$prefix"
    run_program "$build"
    ;;
cmake-subdirectory)
    printf '%s\n' "$block" >"$src/CMakeLists.txt"
    ln -s "$source_dir" "$src/karvo-build-tools"
    cmake_build
    run_program "$build"
    ;;
makefile)
    command -v pkg-config >/dev/null || skip "pkg-config not found"
    install_prefix
    printf '%s\n' "$block" >"$src/Makefile"
    PATH=$prefix/bin:$PATH PKG_CONFIG_PATH=$prefix/lib/pkgconfig make -C "$src" CC="$c_compiler" \
        >"$work/make.log" 2>&1 || { cat "$work/make.log"; fail "make"; }
    [[ -f $src/prototype_checks.ok ]] || fail "the prototype check did not run"
    run_program "$src"
    ;;
cross)
    install_prefix
    subdirectory=$(extract_block cmake-subdirectory)
    grep -qx "add_subdirectory(karvo-build-tools)" <<<"$subdirectory" \
        || fail "the subdirectory block has no add_subdirectory(karvo-build-tools) line to replace"
    while IFS= read -r line; do
        if [[ $line == "add_subdirectory(karvo-build-tools)" ]]; then
            printf '%s\n' "$block"
        else
            printf '%s\n' "$line"
        fi
    done <<<"$subdirectory" >"$src/CMakeLists.txt"
    ln -s "$source_dir" "$src/karvo-build-tools"
    cmake_build -DKARVO_HOST_TOOLS="$prefix"
    grep -qF "$prefix/bin/kwhashgen" "$build/CMakeFiles/mylib.dir/build.make" \
        || fail "kwhashgen not taken from the host prefix"
    [[ ! -e $build/karvo-build-tools/kwhashgen/kwhashgen ]] || fail "kwhashgen was built"
    run_program "$build"
    ;;
esac
echo "PASS: $route"
