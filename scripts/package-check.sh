#!/usr/bin/env bash
# The Debian package as a distribution and a user meet it: built by
# scripts/package.sh, passed by lintian with no errors and no warnings, its
# desktop entry and AppStream metainfo valid; unpacked into a scratch root,
# where the programs run, the manual pages show, the completion loads, and a
# settings file is known by its type (also renamed) and opens with Lumetra.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
started=$SECONDS

fail() { echo "package check: $*" >&2; exit 1; }

mapfile -t packages < <(bash scripts/package.sh)
deb=${packages[0]}
version=$(dpkg-deb -f "$deb" Version)
echo "== lintian: $(basename "$deb") $(du -k "$deb" | cut -f1) KiB, $(basename "${packages[1]}") $(du -k "${packages[1]}" | cut -f1) KiB"
lintian --fail-on error,warning "${packages[@]}"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
dpkg -x "$deb" "$root"
share=$root/usr/share

echo "== desktop entry and AppStream metainfo"
desktop-file-validate "$share/applications/lumetra.desktop"
appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml

echo "== the installed programs"
bash tests/package/versions.sh "$version" "$root/usr/bin/lumetra-cli" "$root/usr/bin/lumetra-sim" "$root/usr/bin/lumetra"
read=$("$root/usr/bin/lumetra-cli" --port sim:TQ read 0x0404)
[ "$read" = "0404 020A" ] || fail "lumetra-cli --port sim:TQ read 0x0404 printed '$read'"

echo "== manual pages"
for program in lumetra lumetra-cli lumetra-sim; do
  LC_ALL=C.UTF-8 MANWIDTH=80 MANPATH=$share/man man --warnings -P cat "$program" >"$scratch/page" 2>"$scratch/warnings" ||
    fail "man $program: $(cat "$scratch/warnings")"
  [ ! -s "$scratch/warnings" ] || fail "man $program warns: $(cat "$scratch/warnings")"
  grep -q "^NAME" "$scratch/page" || fail "man $program shows no page"
done

echo "== bash completion"
completions=$(pkg-config --variable=completionsdir bash-completion)
[ -f "$root$completions/lumetra-cli" ] || fail "no completion in $completions"
bash -c ". '$root$completions/lumetra-cli' && complete -p lumetra-cli" >/dev/null

echo "== settings file type"
XDG_DATA_DIRS="$share:/usr/share" update-mime-database "$share/mime"
update-desktop-database "$share/applications"
"$root/usr/bin/lumetra-cli" new --type CQ --mode 3 -o "$scratch/counter.zqs"
cp "$scratch/counter.zqs" "$scratch/counter-backup"
echo "notes on unit 3" >"$scratch/notes"
type_of() {
  env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
    XDG_DATA_DIRS="$share:/usr/share" XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config" \
    xdg-mime query "$@"
}
for file in counter.zqs counter-backup; do
  type=$(type_of filetype "$scratch/$file")
  [ "$type" = application/x-lumetra-settings ] || fail "xdg-mime names $file $type"
done
type=$(type_of filetype "$scratch/notes")
[ "$type" = text/plain ] || fail "xdg-mime names a text file $type"
opener=$(type_of default application/x-lumetra-settings)
[ "$opener" = lumetra.desktop ] || fail "settings files open with '$opener'"

echo "package check passed in $((SECONDS - started)) s"
