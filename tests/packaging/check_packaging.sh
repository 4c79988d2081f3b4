#!/usr/bin/env bash
# Checks kxcalc as it is installed and packaged. One step per call, so that CTest shows
# each on its own:
#   check_packaging.sh install      installs the build tree into WORK/stage and checks the tree
#   check_packaging.sh find-package builds and runs a C++ consumer with find_package(kxcalc)
#   check_packaging.sh pkg-config   builds and runs a C consumer with pkg-config --cflags --libs
#   check_packaging.sh deb          builds the Debian package with cpack, unpacks it with dpkg -x
# The environment gives BUILD_DIR, SOURCE_DIR, WORK_DIR, VERSION, and the install directories
# LIBDIR, BINDIR, INCLUDEDIR, MANDIR, DOCDIR, CMAKEDIR relative to the prefix.
set -uo pipefail
step=$1
: "${BUILD_DIR:?}" "${SOURCE_DIR:?}" "${WORK_DIR:?}" "${VERSION:?}"
: "${LIBDIR:?}" "${BINDIR:?}" "${INCLUDEDIR:?}" "${MANDIR:?}" "${DOCDIR:?}" "${CMAKEDIR:?}"
stage="$WORK_DIR/stage"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
finish() {
    if ((failures > 0)); then echo "$step: $failures failed"; exit 1; fi
    echo "$step: all checks passed"
    exit 0
}

# The answers that every consumer must print for these lines.
lines=('2*(3+4*i)' 'set x = 2+i' 'x*x' '2)')
expected=$'6+8i\n2+i\n3+4i\nSyntax error.  Unmatched: )'

expect_answers() {
    local what=$1
    shift
    local got
    got=$("$@" "${lines[@]}" 2>&1)
    [[ "$got" == "$expected" ]] || fail "$what printed [$got], expected [$expected]"
}

# The files of an installed tree under PREFIX_ROOT/PREFIX_DIRS, with the library directory LIB.
check_tree() {
    local root=$1 lib=$2
    local major=${VERSION%%.*}
    for file in "$lib/libkxcalc.so.$VERSION" "$INCLUDEDIR/kx_calc.h" "$BINDIR/kxcalc" \
        "$MANDIR/man1/kxcalc.1" "$DOCDIR/copyright" "$lib/pkgconfig/kxcalc.pc" "$lib/cmake/kxcalc/kxcalcConfig.cmake" \
        "$lib/cmake/kxcalc/kxcalcConfigVersion.cmake" "$lib/cmake/kxcalc/kxcalcTargets.cmake"; do
        [[ -f "$root/$file" ]] || fail "missing $file"
    done
    [[ "$(readlink "$root/$lib/libkxcalc.so.$major")" == "libkxcalc.so.$VERSION" ]] ||
        fail "libkxcalc.so.$major does not link to libkxcalc.so.$VERSION"
    [[ "$(readlink "$root/$lib/libkxcalc.so")" == "libkxcalc.so.$major" ]] ||
        fail "libkxcalc.so does not link to libkxcalc.so.$major"
    [[ -x "$root/$BINDIR/kxcalc" ]] || fail "kxcalc is not executable"
    grep -q "SONAME.*\[libkxcalc.so.$major\]" <<< "$(readelf -d "$root/$lib/libkxcalc.so.$VERSION")" ||
        fail "the library's SONAME is not libkxcalc.so.$major"
    local exported
    exported=$(nm -D --defined-only "$root/$lib/libkxcalc.so.$VERSION" | awk '$2 == "T" {print $3}')
    [[ "$exported" == "kx_calc" ]] || fail "the library exports [$exported], not only kx_calc"
    # The program finds the library beside it without help from the environment.
    expect_answers "installed kxcalc" env -u LD_LIBRARY_PATH "$root/$BINDIR/kxcalc"
    [[ "$(env -u LD_LIBRARY_PATH "$root/$BINDIR/kxcalc" --version)" == "kxcalc $VERSION" ]] ||
        fail "installed kxcalc --version"
}

# Builds the find_package consumer against the tree under PREFIX into DIRECTORY.
build_cmake_consumer() {
    local prefix=$1 directory=$2
    rm -rf "$directory"
    if ! cmake -S "$SOURCE_DIR/tests/packaging/cmake_consumer" -B "$directory" \
        -DCMAKE_PREFIX_PATH="$prefix" > "$directory.configure.log" 2>&1 ||
        ! cmake --build "$directory" > "$directory.build.log" 2>&1; then
        cat "$directory".*.log
        fail "the find_package consumer does not build against $prefix"
        return 1
    fi
    grep -q "kxcalc_DIR:PATH=$prefix/$CMAKEDIR" "$directory/CMakeCache.txt" ||
        fail "find_package did not take the package under $prefix"
}

case "$step" in
install)
    rm -rf "$stage"
    cmake --install "$BUILD_DIR" --prefix "$stage" > "$WORK_DIR/install.log" || {
        cat "$WORK_DIR/install.log"
        fail "cmake --install"
        finish
    }
    check_tree "$stage" "$LIBDIR"
    grep -qx "prefix=$stage" "$stage/$LIBDIR/pkgconfig/kxcalc.pc" ||
        fail "kxcalc.pc does not name the install prefix"
    # The CMake files locate the tree from where they lie; the pkg-config file names the
    # prefix once and nothing else of the source or build tree.
    grep -rl -- "$SOURCE_DIR" "$stage/$LIBDIR/cmake" && fail "installed CMake files name the source or build tree"
    grep -qF -- "$SOURCE_DIR" <<< "$(grep -v '^prefix=' "$stage/$LIBDIR/pkgconfig/kxcalc.pc")" &&
        fail "kxcalc.pc names the source or build tree beyond its prefix"
    echo "installed tree:"
    (cd "$stage" && find . -mindepth 1 | sort | sed 's/^/  /')
    ;;
find-package)
    consumer="$WORK_DIR/cmake-consumer"
    build_cmake_consumer "$stage" "$consumer" && expect_answers "find_package consumer" "$consumer/consumer"
    # A request for a later major version is refused.
    rm -rf "$consumer-v2"
    mkdir -p "$consumer-v2"
    sed 's/find_package(kxcalc 1.0 REQUIRED)/find_package(kxcalc 2.0 REQUIRED)/' \
        "$SOURCE_DIR/tests/packaging/cmake_consumer/CMakeLists.txt" > "$consumer-v2/CMakeLists.txt"
    cp "$SOURCE_DIR/tests/packaging/cmake_consumer/consumer.cpp" "$consumer-v2/"
    cmake -S "$consumer-v2" -B "$consumer-v2/build" -DCMAKE_PREFIX_PATH="$stage" > /dev/null 2>&1 &&
        fail "find_package(kxcalc 2.0) accepted version $VERSION"
    ;;
pkg-config)
    export PKG_CONFIG_PATH="$stage/$LIBDIR/pkgconfig"
    [[ "$(pkg-config --modversion kxcalc)" == "$VERSION" ]] || fail "pkg-config --modversion"
    flags=$(pkg-config --cflags --libs kxcalc) || { fail "pkg-config --cflags --libs kxcalc"; finish; }
    # The header is C: compiled strictly as C99, with every warning an error.
    # shellcheck disable=SC2086
    if ! cc -std=c99 -Wall -Wextra -pedantic -Werror "$SOURCE_DIR/tests/packaging/c_consumer/consumer.c" \
        $flags -o "$WORK_DIR/c-consumer"; then
        fail "the C consumer does not build with: $flags"
        finish
    fi
    expect_answers "pkg-config C consumer" env LD_LIBRARY_PATH="$(pkg-config --variable=libdir kxcalc)" \
        "$WORK_DIR/c-consumer"
    ;;
deb)
    command -v dpkg-deb > /dev/null || { echo "SKIP: dpkg-deb is not installed"; exit 77; }
    packages="$WORK_DIR/deb"
    rm -rf "$packages"
    if ! cpack --config "$BUILD_DIR/CPackConfig.cmake" -G DEB -B "$packages" > "$WORK_DIR/cpack.log" 2>&1; then
        cat "$WORK_DIR/cpack.log"
        fail "cpack -G DEB"
        finish
    fi
    cat "$WORK_DIR/cpack.log"
    shopt -s nullglob
    debs=("$packages"/kxcalc_"$VERSION"*.deb)
    ((${#debs[@]} == 1)) || { fail "expected one kxcalc_$VERSION*.deb, found ${#debs[*]}"; finish; }
    deb=${debs[0]}
    dpkg-deb --info "$deb"
    [[ "$(dpkg-deb --field "$deb" Package)" == "kxcalc" ]] || fail "package name"
    [[ "$(dpkg-deb --field "$deb" Version)" == "$VERSION" ]] || fail "package version"
    [[ "$(dpkg-deb --field "$deb" Architecture)" == "$(dpkg --print-architecture)" ]] || fail "architecture"
    if command -v dpkg-shlibdeps > /dev/null; then
        grep -q 'libc6' <<< "$(dpkg-deb --field "$deb" Depends)" || fail "Depends does not name libc6"
    fi
    grep -q 'triggers\|postinst' <<< "$(dpkg-deb --ctrl-tarfile "$deb" | tar -t)" ||
        fail "no ldconfig trigger or postinst for the shared library"
    root="$WORK_DIR/deb-root"
    rm -rf "$root"
    dpkg -x "$deb" "$root"
    # The package installs under /usr, with the library directory of the build.
    check_tree "$root/usr" "$LIBDIR"
    grep -qx "prefix=/usr" "$root/usr/$LIBDIR/pkgconfig/kxcalc.pc" || fail "packaged kxcalc.pc prefix is not /usr"
    # The packaged CMake files locate the library from where they lie, wherever unpacked.
    build_cmake_consumer "$root/usr" "$WORK_DIR/deb-consumer" &&
        expect_answers "find_package consumer of the unpacked package" "$WORK_DIR/deb-consumer/consumer"
    echo "files of $(basename "$deb"):"
    dpkg-deb --contents "$deb" | awk '{print "  " $6 ($7 ? " " $7 " " $8 : "")}'
    ;;
*)
    echo "unknown step: $step"
    exit 2
    ;;
esac
finish
