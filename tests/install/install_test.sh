#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks it as a user and a packager would:
# every file in its place, the desktop entry and the AppStream metadata valid, a manual page
# for each program, and the installed zelcor run from there keeping its files in the user's
# data folder, with the trouble code texts copied from the installation's share folder and
# refreshed after an upgrade.
# Usage: install_test.sh BUILD_DIR APP_ID
set -euo pipefail
build="$1"
id="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/zelcor bin/zelcor-sim share/zelcor/codes.dat "share/applications/$id.desktop" \
    "share/icons/hicolor/scalable/apps/$id.svg" "share/metainfo/$id.metainfo.xml" \
    share/man/man1/zelcor.1.gz share/man/man1/zelcor-sim.1.gz \
    share/doc/zelcor/copyright share/doc/zelcor/changelog.gz; do
    [ -f "$prefix/$file" ] || fail "not installed: $file"
done

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$work/appstream" ||
    { cat "$work/appstream"; fail "AppStream metadata"; }
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop" || fail "the desktop entry names another icon"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/share/metainfo/$id.metainfo.xml" ||
    fail "the metadata launches another desktop entry"

# The manual pages carry each program's options (roff writes a dash as "\-").
page() { zcat "$prefix/share/man/man1/$1.1.gz" | sed 's/\\-/-/g'; }
zelcor_page="$(page zelcor)"
sim_page="$(page zelcor-sim)"
for option in --scan --simulate --device --data-dir --json --live; do
    grep -q -- "$option" <<<"$zelcor_page" || fail "zelcor.1 lacks $option"
done
for option in --profile --no-timing --tcp --list-profiles; do
    grep -q -- "$option" <<<"$sim_page" || fail "zelcor-sim.1 lacks $option"
done
grep -q '^\.SH SYNOPSIS' <<<"$zelcor_page" || fail "zelcor.1 has no synopsis"
grep -q '^\.SH FILES' <<<"$zelcor_page" || fail "zelcor.1 does not say where the data folder is"
section() { sed -n "/^\.SH $1/,/^\.SH /p" <<<"$zelcor_page"; }
grep -q -- '--simulate' <<<"$(section OPTIONS)" || fail "zelcor.1 has --simulate outside OPTIONS"
grep -q 'zelcor\.ini' <<<"$(section FILES)" || fail "zelcor.1 FILES lacks zelcor.ini"
if zcat "$prefix"/share/man/man1/*.gz | grep -q -- "$build"; then fail "a manual page names the build folder"; fi

# Run from the installation by a user whose home is empty. The prefix's bin folder is
# writable by this user, yet the program's files go to the user's data folder.
home="$work/home"
mkdir -p "$home"
run() { env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" "$@"; }
version="$(run "$prefix/bin/zelcor" --version)" && grep -qx "zelcor [0-9.]*" <<<"$version" || fail "zelcor --version"
profiles="$(run "$prefix/bin/zelcor-sim" --list-profiles)" && grep -q "^can11" <<<"$profiles" ||
    fail "zelcor-sim --list-profiles"
help="$(run "$prefix/bin/zelcor" --help)"
for name in $(cut -d ' ' -f 1 <<<"$profiles"); do
    grep -qw -- "$name" <<<"$help" || fail "zelcor --help leaves out the simulated car $name"
done
run "$prefix/bin/zelcor" --scan --simulate >"$work/report" 2>"$work/errors" ||
    { cat "$work/errors"; fail "zelcor --scan --simulate"; }
# The explanation comes from codes.dat: the program found it under the prefix's share folder.
grep -qF "P0171  232  System Too Lean (Bank 1)" "$work/report" || { cat "$work/report"; fail "no code explanation"; }
data="$home/.local/share/zelcor"
cmp -s "$data/codes.dat" "$prefix/share/zelcor/codes.dat" || fail "codes.dat not copied into $data"
[ -f "$data/setup.cfg" ] || fail "setup.cfg not written in $data"
# An upgrade brings new code texts: the unchanged copy follows, and the program says so.
printf "P3499  Code texts of a later release\r\n" >>"$prefix/share/zelcor/codes.dat"
run "$prefix/bin/zelcor" --scan --simulate >/dev/null 2>"$work/errors" || fail "zelcor --scan after an upgrade"
cmp -s "$data/codes.dat" "$prefix/share/zelcor/codes.dat" || fail "codes.dat not refreshed after an upgrade"
grep -q "codes.dat refreshed from the newer" "$work/errors" || { cat "$work/errors"; fail "refresh not said"; }
extra="$(ls "$prefix/bin" | grep -v -x -e zelcor -e zelcor-sim || true)"
[ -z "$extra" ] || fail "files written beside the installed program: $extra"
echo "installation checked in $prefix"
