#!/bin/sh
# Starts the Java Orvel window in a per-user working folder.
#
# The window keeps its two documentation roots in "JavaOrvel.cfg" and reads
# its three images from whatever folder it is started in. An installed copy
# is started from menus and shells anywhere, so it gets a folder of its own,
# $XDG_DATA_HOME/javaorvel, prepared here on first use. Nothing the user
# already has in that folder is ever replaced.

me=javaorvel

fail() {
    printf '%s: %s\n' "$me" "$1" >&2
    exit "${2:-1}"
}

# The installed layout, found relative to this script so that a package
# unpacked under another root (or a DESTDIR install) works the same.
self=$(readlink -f -- "$0") || fail "cannot locate the launcher itself"
prefix=$(dirname -- "$(dirname -- "$self")")
window="$prefix/libexec/javaorvel/javaorvel"
images="$prefix/share/javaorvel"

[ -x "$window" ] || fail "the window program is missing: $window" 127

# XDG: a relative or empty XDG_DATA_HOME is to be ignored.
case "${XDG_DATA_HOME:-}" in
    /*) data=$XDG_DATA_HOME ;;
    *)
        case "${HOME:-}" in
            /*) data=$HOME/.local/share ;;
            *) fail "neither XDG_DATA_HOME nor HOME is set to an absolute folder" ;;
        esac
        ;;
esac
work="$data/javaorvel"

mkdir -p -- "$work" 2>/dev/null && [ -d "$work" ] ||
    fail "cannot create the working folder $work"
# A launcher stopped part-way leaves no temporary behind.
tmp=
drop_tmp() {
    [ -z "$tmp" ] || rm -f -- "$tmp"
    tmp=
}
trap 'drop_tmp; exit 143' TERM
trap 'drop_tmp; exit 130' INT
trap 'drop_tmp; exit 129' HUP

# Root passes permission checks, and a read-only file system fails only on
# the write itself: only a real write tells.
tmp=$(mktemp -- "$work/.probe.XXXXXX" 2>/dev/null) ||
    fail "cannot write in the working folder $work"
drop_tmp

# Puts content in place under a name only if that name is still free; a
# crash or a full disk leaves at most a hidden temporary, never a cut file.
place() {
    # $1: temporary in $work, $2: final name
    if [ -e "$2" ] || [ -L "$2" ]; then
        rm -f -- "$1"
    else
        mv -- "$1" "$2" || { rm -f -- "$1"; return 1; }
    fi
}

for image in pf.gif bluedot.gif bluedot2.gif; do
    target="$work/$image"
    if [ -e "$target" ] || [ -L "$target" ]; then
        continue
    fi
    [ -r "$images/$image" ] || fail "the installed image is missing: $images/$image"
    tmp=$(mktemp -- "$work/.$image.XXXXXX") &&
        cp -- "$images/$image" "$tmp" &&
        chmod 644 -- "$tmp" &&
        place "$tmp" "$target" || {
        drop_tmp
        fail "cannot copy $image into the working folder $work"
    }
    tmp=
done

# The first documentation root found whose api folder has both module folders
# the window looks in. The Debian JDK documentation comes first: it is what the
# package recommends.
find_api() {
    set --
    [ -n "${JAVA_HOME:-}" ] && set -- "$@" "$JAVA_HOME/docs/api"
    set -- "$@" /usr/share/doc/openjdk-17-jre-headless/api
    java=$(command -v java 2>/dev/null) && java=$(readlink -f -- "$java") &&
        set -- "$@" "$(dirname -- "$(dirname -- "$java")")/docs/api"
    set -- "$@" /usr/lib/jvm/default-java/docs/api /usr/share/doc/openjdk-*/api \
        /usr/lib/jvm/*/docs/api /usr/share/doc/*jdk*/api /opt/*jdk*/docs/api
    for api in "$@"; do
        if [ -d "$api/java.base" ] && [ -d "$api/java.desktop" ]; then
            printf '%s\n' "$api"
            return 0
        fi
    done
    return 1
}

config="$work/JavaOrvel.cfg"
if [ ! -e "$config" ] && [ ! -L "$config" ] && api=$(find_api); then
    tmp=$(mktemp -- "$work/.JavaOrvel.cfg.XXXXXX") &&
        printf '%s\n%s\n' "$api/java.base" "$api/java.desktop" >"$tmp" &&
        chmod 644 -- "$tmp" &&
        place "$tmp" "$config" || {
        drop_tmp
        fail "cannot write JavaOrvel.cfg in the working folder $work"
    }
    tmp=
fi

# The window runs in its working folder, so a start in a project folder is
# passed on as --project (unless one was given).
case " $* " in
    *" --project "*) ;;
    *) if [ -f pom.xml ] || [ -f build.gradle ] || [ -f build.gradle.kts ]; then set -- --project "$PWD" "$@"; fi ;;
esac

cd -- "$work" || fail "cannot enter the working folder $work"
exec "$window" "$@"
