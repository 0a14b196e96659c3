#!/usr/bin/env bash
# Release check: builds the Debian package, unpacks it into a temporary root
# and uses what is installed there the way a user would: the CLI on a few
# classes, the launcher started headless and closed by SIGTERM, the desktop
# entry, and the launcher's bad-input cases. Prints what it measured, and
# every failure; exits non-zero when anything failed.
#
#   scripts/release-check.sh [BUILD_DIR]     (default: build-release, the release preset's folder)
#
# Needs (Debian): dpkg-dev and file (cpack's dependency search),
# desktop-file-utils, lintian, and the build's own packages; the JDK and its
# documentation and sources (openjdk-17-jdk-headless, openjdk-17-doc,
# openjdk-17-source) for the lookups.
set -uo pipefail
export LC_ALL=C
cd "$(dirname "$0")/.." || exit 1
repo=$(pwd)
build=${1:-build-release}
case "$build" in /*) ;; *) build="$repo/$build" ;; esac

failures=0
say() { printf 'release-check: %s\n' "$*"; }
fail() {
    printf 'release-check: FAIL: %s\n' "$*" >&2
    failures=$((failures + 1))
}
die() {
    printf 'release-check: FAIL: %s\n' "$*" >&2
    exit 1
}
for tool in cmake cpack dpkg-deb dpkg-shlibdeps file desktop-file-validate lintian setpriv timeout gzip; do
    command -v "$tool" >/dev/null || die "$tool is not installed (packages: dpkg-dev file desktop-file-utils lintian)"
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/release-check.XXXXXX") || die "cannot make a temporary folder"
# The bad-input runs switch to an unprivileged user, who must reach the root.
chmod 755 "$tmp"
cleanup() {
    chmod -R u+w "$tmp" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT

# ---------------------------------------------------------------- package
say "building the package in $build"
if [ -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" >"$tmp/configure.log" 2>&1
else
    cmake --preset release -B "$build" >"$tmp/configure.log" 2>&1
fi || { cat "$tmp/configure.log" >&2; die "configuring $build failed"; }
cmake --build "$build" --target javaorvel javaorvel-cli man_pages -j "${JOBS:-2}" >"$tmp/build.log" 2>&1 ||
    { tail -40 "$tmp/build.log" >&2; die "building javaorvel and javaorvel-cli failed"; }
rm -rf "$build/package"
(cd "$build" && cpack -G DEB -B "$build/package") >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log" >&2; die "cpack -G DEB failed"; }
debs=("$build"/package/javaorvel_*.deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || die "cpack made no single javaorvel_*.deb in $build/package"
deb=${debs[0]}
say "package: $deb"

# Debian's own checker: no error, and no warning that the package's override
# file (packaging/lintian-overrides) does not give a reason for.
lintian --fail-on error,warning "$deb" >"$tmp/lintian.log" 2>&1
lintian_status=$?
lintian_tags=$(grep -E '^[EW]: ' "$tmp/lintian.log")
[ "$lintian_status" -eq 0 ] && [ -z "$lintian_tags" ] ||
    fail "lintian (status $lintian_status): $(tr '\n' ' ' <<<"${lintian_tags:-$(cat "$tmp/lintian.log")}")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = javaorvel ] || fail "package name is '$(field Package)', not javaorvel"
[ "$(field Version)" = 1.02a ] || fail "package version is '$(field Version)', not 1.02a"
depends=$(field Depends)
for lib in libc6 libstdc++6 libqt6core6 libqt6widgets6; do
    grep -q "\\b$lib\\b" <<<"$depends" || fail "Depends lacks $lib (shlibdeps): $depends"
done
[ "$(field Recommends)" = "openjdk-17-jdk-headless, openjdk-17-doc, openjdk-17-source" ] ||
    fail "Recommends is '$(field Recommends)'"
package_bytes=$(stat -c %s "$deb")
installed_kib=$(field Installed-Size)

root="$tmp/root"
dpkg-deb -x "$deb" "$root" || die "dpkg-deb -x failed"
expected=(
    usr/bin/javaorvel usr/bin/javaorvel-cli usr/libexec/javaorvel/javaorvel
    usr/share/javaorvel/pf.gif usr/share/javaorvel/bluedot.gif usr/share/javaorvel/bluedot2.gif
    usr/share/applications/javaorvel.desktop
    usr/share/icons/hicolor/scalable/apps/javaorvel.svg
    usr/share/icons/hicolor/48x48/apps/javaorvel.png
    usr/share/icons/hicolor/128x128/apps/javaorvel.png
    usr/share/man/man1/javaorvel.1.gz usr/share/man/man1/javaorvel-cli.1.gz
    usr/share/doc/javaorvel/copyright usr/share/doc/javaorvel/changelog.gz
    usr/share/lintian/overrides/javaorvel
    usr/share/bash-completion/completions/javaorvel-cli
)
for f in "${expected[@]}"; do
    [ -f "$root/$f" ] || fail "the package lacks /$f"
done
for f in usr/bin/javaorvel usr/bin/javaorvel-cli usr/libexec/javaorvel/javaorvel; do
    [ -x "$root/$f" ] || fail "/$f is not executable"
done
for img in pf.gif bluedot.gif bluedot2.gif; do
    cmp -s "assets/$img" "$root/usr/share/javaorvel/$img" || fail "/usr/share/javaorvel/$img differs from assets/$img"
done
for page in "$root"/usr/share/man/man1/*.gz "$root"/usr/share/doc/javaorvel/changelog.gz; do
    gzip -t "$page" 2>/dev/null || fail "$(basename "$page") is not a valid gzip file"
done
bash -n "$root/usr/share/bash-completion/completions/javaorvel-cli" 2>/dev/null ||
    fail "the bash completion file does not parse"
for bin in usr/bin/javaorvel-cli usr/libexec/javaorvel/javaorvel; do
    missing=$(ldd "$root/$bin" 2>&1 | grep 'not found')
    [ -z "$missing" ] || fail "/$bin needs libraries that are missing: $missing"
done

# The same layout from the install rules alone, as a DESTDIR install makes it.
DESTDIR="$tmp/destdir" cmake --install "$build" --prefix /usr >"$tmp/install.log" 2>&1 ||
    { cat "$tmp/install.log" >&2; fail "cmake --install with DESTDIR failed"; }
diff <(cd "$root" && find . -type f | sort) <(cd "$tmp/destdir" && find . -type f | sort) >"$tmp/layout.diff" ||
    fail "the package and a DESTDIR install differ: $(tr '\n' ' ' <"$tmp/layout.diff")"

validate=$(desktop-file-validate "$root/usr/share/applications/javaorvel.desktop" 2>&1)
[ $? -eq 0 ] && [ -z "$validate" ] || fail "desktop-file-validate: $validate"
grep -qx 'Exec=javaorvel' "$root/usr/share/applications/javaorvel.desktop" ||
    fail "the desktop entry does not start the launcher"

# ---------------------------------------------------------------- CLI
cli="$root/usr/bin/javaorvel-cli"
# Runs the installed CLI; $out, $err and $status hold what it did.
run_cli() {
    timeout 60 "$cli" "$@" >"$tmp/out" 2>"$tmp/err"
    status=$?
    out=$(cat "$tmp/out")
    err=$(cat "$tmp/err")
}
run_cli --version
[ "$status" -eq 0 ] && [ "$out" = "javaorvel-cli 1.02a" ] && [ -z "$err" ] ||
    fail "--version: status $status, output '$out', errors '$err'"
run_cli --help
[ "$status" -eq 0 ] && grep -q '^usage: javaorvel-cli' <<<"$out" && grep -q 'tree NAME' <<<"$out" ||
    fail "--help: status $status, output '$out'"
run_cli tree java.util.Vector
[ "$status" -eq 0 ] && grep -q 'addElement' <<<"$out" ||
    fail "tree java.util.Vector: status $status, no addElement in its output; errors: $err"
run_cli members java.lang.Object
[ "$status" -eq 0 ] && grep -q 'java.lang.Object.equals(java.lang.Object)' <<<"$out" ||
    fail "members java.lang.Object: status $status, no equals(java.lang.Object) in its output; errors: $err"
run_cli resolve JTree
[ "$status" -eq 0 ] && [ "$out" = "javax.swing.JTree" ] ||
    fail "resolve JTree: status $status, output '$out'"
run_cli members no.such.Klass
[ "$status" -ne 0 ] && [ "$out" = "Class not found : no.such.Klass" ] ||
    fail "members no.such.Klass: status $status, output '$out'"
run_cli
[ "$status" -eq 2 ] && [ -z "$out" ] && grep -q '^usage:' <<<"$err" ||
    fail "no arguments: status $status (not a usage error)"

# ---------------------------------------------------------------- launcher
launcher="$root/usr/bin/javaorvel"
window="$root/usr/libexec/javaorvel/javaorvel"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$tmp/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

now_ms() { date +%s%3N; }

# Starts the launcher in the background with the given data folder; sets
# $pid, and $up_ms to the time until the window was up. The launcher replaces
# itself with the window, so the pid stays the same. "Up" is the window
# process sleeping in its event loop: its CPU time unchanged for 300 ms.
start_window() {
    local data=$1 home=$2 started ticks last stable=0 since=0 exe state
    started=$(now_ms)
    XDG_DATA_HOME="$data" HOME="$home" "$launcher" ignored arguments >"$tmp/window.out" 2>"$tmp/window.err" &
    pid=$!
    up_ms=
    while [ $(($(now_ms) - started)) -lt 30000 ]; do
        [ -d "/proc/$pid" ] || return 1
        exe=$(readlink "/proc/$pid/exe" 2>/dev/null)
        if [ "$exe" = "$(readlink -f "$window")" ]; then
            read -r state ticks < <(awk '{ print $3, $14 + $15 }' "/proc/$pid/stat" 2>/dev/null)
            if [ "$state" = S ] && [ "${ticks:-x}" = "${last:-y}" ]; then
                [ "$stable" -eq 0 ] && since=$(now_ms)
                stable=$((stable + 1))
                if [ $(($(now_ms) - since)) -ge 300 ]; then
                    up_ms=$((since - started))
                    return 0
                fi
            else
                stable=0
            fi
            last=$ticks
        fi
        sleep 0.02
    done
    return 1
}

# Sends SIGTERM and waits for the window to end; sets $exit_status.
close_window() {
    kill -TERM "$pid" 2>/dev/null
    local waited=0
    while kill -0 "$pid" 2>/dev/null && [ $waited -lt 200 ]; do
        sleep 0.05
        waited=$((waited + 1))
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        exit_status=timeout
    else
        wait "$pid"
        exit_status=$?
    fi
}

api=/usr/share/doc/openjdk-17-jre-headless/api

# First run: a fresh XDG_DATA_HOME and HOME.
data="$tmp/fresh/data"
home="$tmp/fresh/home"
mkdir -p "$home"
work="$data/javaorvel"
if start_window "$data" "$home"; then
    first_up_ms=$up_ms
    close_window
    [ "$exit_status" = 0 ] || fail "fresh run: the window ended with status $exit_status after SIGTERM: $(cat "$tmp/window.err")"
    for img in pf.gif bluedot.gif bluedot2.gif; do
        cmp -s "assets/$img" "$work/$img" || fail "fresh run: $img was not copied into $work"
    done
    if [ -f "$work/JavaOrvel.cfg" ]; then
        if [ -d "$api/java.base" ] && [ -d "$api/java.desktop" ]; then
            [ "$(cat "$work/JavaOrvel.cfg")" = "$(printf '%s\n%s' "$api/java.base" "$api/java.desktop")" ] ||
                fail "fresh run: JavaOrvel.cfg does not name the JDK documentation: $(cat "$work/JavaOrvel.cfg")"
        fi
    else
        fail "fresh run: no JavaOrvel.cfg in $work after closing"
    fi
    grep -q 'Unable to read config file' "$tmp/window.err" && fail "fresh run: the window could not read its configuration"
    contents=$(ls -A "$work" | tr '\n' ' ')
    [ "$contents" = "JavaOrvel.cfg bluedot.gif bluedot2.gif pf.gif " ] ||
        fail "fresh run: the working folder holds more or less than it should: $contents"
else
    fail "fresh run: the window did not come up within 30 s: $(cat "$tmp/window.err")"
    kill -KILL "$pid" 2>/dev/null
    first_up_ms=
fi

# Second run in a folder the user already has: a user's own pf.gif and a
# configuration of three lines stay as they are, except that closing the
# window saves its two roots (and so drops the third line).
printf 'GIF89a-user-image' >"$work/pf.gif"
rm -f "$work/bluedot2.gif"
printf '/docs/main\n/docs/swing\nthird line\n' >"$work/JavaOrvel.cfg"
touch -d '2001-01-01' "$work/JavaOrvel.cfg"
if start_window "$data" "$home"; then
    again_up_ms=$up_ms
    [ "$(cat "$work/JavaOrvel.cfg")" = "$(printf '/docs/main\n/docs/swing\nthird line')" ] ||
        fail "second run: the launcher changed the user's JavaOrvel.cfg"
    close_window
    [ "$exit_status" = 0 ] || fail "second run: the window ended with status $exit_status after SIGTERM"
    [ "$(cat "$work/pf.gif")" = GIF89a-user-image ] || fail "second run: the user's pf.gif was overwritten"
    cmp -s assets/bluedot2.gif "$work/bluedot2.gif" || fail "second run: the missing bluedot2.gif was not copied again"
    [ "$(cat "$work/JavaOrvel.cfg")" = "$(printf '/docs/main\n/docs/swing')" ] ||
        fail "second run: closing did not save the two roots: $(cat "$work/JavaOrvel.cfg")"
else
    fail "second run: the window did not come up within 30 s: $(cat "$tmp/window.err")"
    kill -KILL "$pid" 2>/dev/null
    again_up_ms=
fi

# ---------------------------------------------------------------- bad input
# Runs the launcher for a case where the window must not start: it would
# stay up until the timeout. Sets $status and $err.
run_refused() {
    local data=$1 home=$2
    shift 2
    XDG_DATA_HOME="$data" HOME="$home" timeout 20 "$@" "$launcher" >"$tmp/out" 2>"$tmp/err"
    status=$?
    err=$(cat "$tmp/err")
}
expect_refused() {
    local what=$1
    if [ "$status" -eq 124 ]; then
        fail "$what: the window started"
    elif [ "$status" -eq 0 ]; then
        fail "$what: exit status 0"
    elif [ "$(wc -l <"$tmp/err")" -ne 1 ] || ! grep -q '^javaorvel: ' "$tmp/err"; then
        fail "$what: not one line on standard error: '$err'"
    else
        say "$what: status $status, '$err'"
    fi
}
# Root writes through permissions; the read-only cases run as nobody.
as_user=()
[ "$(id -u)" -eq 0 ] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)

mkdir -p "$tmp/ro/home" "$tmp/ro/data"
chmod 555 "$tmp/ro/data"
run_refused "$tmp/ro/data" "$tmp/ro/home" "${as_user[@]}"
expect_refused "read-only XDG_DATA_HOME"
[ -e "$tmp/ro/data/javaorvel" ] && fail "read-only XDG_DATA_HOME: a working folder was made anyway"

mkdir -p "$tmp/rowork/data/javaorvel" "$tmp/rowork/home"
chmod 555 "$tmp/rowork/data/javaorvel"
run_refused "$tmp/rowork/data" "$tmp/rowork/home" "${as_user[@]}"
expect_refused "read-only working folder"

mkdir -p "$tmp/file/home"
printf 'not a folder\n' >"$tmp/file/data"
run_refused "$tmp/file/data" "$tmp/file/home"
expect_refused "XDG_DATA_HOME that is a file"

# A JavaOrvel.cfg that is a folder: the window's own message, and the
# folder and its content stay.
data="$tmp/cfgdir/data"
work="$data/javaorvel"
mkdir -p "$work/JavaOrvel.cfg" "$tmp/cfgdir/home"
printf 'keep\n' >"$work/JavaOrvel.cfg/keep.txt"
if start_window "$data" "$tmp/cfgdir/home"; then
    close_window
    [ "$exit_status" = 0 ] || fail "JavaOrvel.cfg folder: the window ended with status $exit_status after SIGTERM"
    grep -q 'Unable to read config file' "$tmp/window.err" ||
        fail "JavaOrvel.cfg folder: no 'Unable to read config file' on standard error: $(cat "$tmp/window.err")"
    [ -d "$work/JavaOrvel.cfg" ] && [ "$(ls -A "$work/JavaOrvel.cfg")" = keep.txt ] &&
        [ "$(cat "$work/JavaOrvel.cfg/keep.txt")" = keep ] ||
        fail "JavaOrvel.cfg folder: its content changed"
    contents=$(ls -A "$work" | tr '\n' ' ')
    [ "$contents" = "JavaOrvel.cfg bluedot.gif bluedot2.gif pf.gif " ] ||
        fail "JavaOrvel.cfg folder: the working folder holds more or less than it should: $contents"
    say "JavaOrvel.cfg folder: $(head -1 "$tmp/window.err")"
else
    fail "JavaOrvel.cfg folder: the window did not come up: $(cat "$tmp/window.err")"
    kill -KILL "$pid" 2>/dev/null
fi

# ---------------------------------------------------------------- report
say "package size: $package_bytes bytes ($(((package_bytes + 1023) / 1024)) KiB)"
say "installed size: ${installed_kib} KiB (control Installed-Size); on disk: $(du -sk "$root/usr" | cut -f1) KiB"
say "start-up until the window is up: first run ${first_up_ms:-?} ms, second run ${again_up_ms:-?} ms"
say "desktop-file-validate: ${validate:-clean}"
say "lintian: ${lintian_tags:-no errors or warnings}"
if [ "$failures" -ne 0 ]; then
    say "$failures check(s) failed"
    exit 1
fi
say "all checks passed"
