#!/bin/sh
# Installs the build into a scratch root and runs the installed programs
# there: the fiscal-memory libraries must be found without TALOVEN_SYSTEM_DIR,
# the CLI must work on a copy of the installed sample catalogue, and the
# desktop start must make ~/Taloven once and leave it alone afterwards.
# Usage: installed_tree_test.sh SOURCE_DIR BUILD_DIR
set -eu
build=$2
work=$(mktemp -d)
gui=""
cleanup() {
  [ -n "$gui" ] && kill "$gui" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
unset TALOVEN_SYSTEM_DIR

root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log" ||
  fail "cmake --install: $(cat "$work/install.log")"
bin=$root/usr/bin
share=$root/usr/share/taloven

# The libraries are found beside the installed program, wherever the tree is.
"$bin/taloven-cli" --version >"$work/version" || fail "taloven-cli --version"
version=$(head -n 1 "$work/version" | cut -d' ' -f2)
grep -q "^KovoMFD.so [0-9.]* ($root/usr/lib/.*taloven)\$" "$work/version" ||
  fail "KovoMFD.so not loaded from the installed tree: $(cat "$work/version")"
grep -q "^KovoMFD2.so [0-9.]* ($root/usr/lib/.*taloven)\$" "$work/version" ||
  fail "KovoMFD2.so not loaded from the installed tree: $(cat "$work/version")"
[ "$("$bin/taloven-emulator" --version)" = "taloven-emulator $version" ] ||
  fail "the emulator's version differs from the CLI's $version"

mkdir "$work/fresh"
cp "$share/comandos.xml" "$work/fresh/"
"$bin/taloven-cli" -C "$work/fresh" list >"$work/list" || fail "taloven-cli list"
[ "$(wc -l <"$work/list")" -gt 10 ] || fail "the installed catalogue lists $(wc -l <"$work/list") commands"

[ "${TALOVEN_GUI:-1}" = 1 ] || exit 0

# The desktop entry's start, without a display. The folder is made before the
# window opens; the program is stopped once it is there.
start_from_menu() {
  HOME=$work/home "$bin/taloven" --user-folder --port "$work/no-printer" \
    >"$work/gui.log" 2>&1 &
  gui=$!
  tries=0
  until [ -f "$work/home/Taloven/comandos.xml" ] && [ -f "$work/home/Taloven/.started" ] ||
    [ $tries -ge 100 ]; do
    # The program's current directory tells that it runs inside the folder.
    if [ "$(readlink "/proc/$gui/cwd" 2>/dev/null)" = "$work/home/Taloven" ]; then
      touch "$work/home/Taloven/.started"
    fi
    sleep 0.1
    tries=$((tries + 1))
  done
  kill "$gui" 2>/dev/null || true
  wait "$gui" 2>/dev/null || true
  gui=""
  [ -f "$work/home/Taloven/.started" ] || fail "taloven did not start in ~/Taloven: $(cat "$work/gui.log")"
  rm "$work/home/Taloven/.started"
}

mkdir "$work/home"
start_from_menu
cmp -s "$share/comandos.xml" "$work/home/Taloven/comandos.xml" || fail "first start: catalogue not copied"
[ -f "$work/home/Taloven/help/Taloven_Help.chm" ] || fail "first start: help not copied"
[ -f "$work/home/Taloven/usb/99-taloven-ecf.rules" ] || fail "first start: usb folder not copied"

echo "<comandos/>" >"$work/home/Taloven/comandos.xml"
start_from_menu
[ "$(cat "$work/home/Taloven/comandos.xml")" = "<comandos/>" ] ||
  fail "second start overwrote the technician's catalogue"
echo "installed tree: programs $version, libraries and sample files found, ~/Taloven kept"
