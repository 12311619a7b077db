#!/usr/bin/env bash
# check_install.sh BUILD_DIR: installs the build into a fresh prefix and uses the
# installed programs as a user would: the command-line tool solves an installed
# example, the desktop program opens it (offscreen, --check) with its user files
# in the XDG data folder, and the desktop entry and MIME type pass their checkers.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "FAILED: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

share=$prefix/share/velmora-studio
for path in bin/velmora-cli share/velmora-studio/PipeTables/Steel_ANSI_Sch40.vmpi \
    share/velmora-studio/FittingTables/Vmn_Fittings.vmfi share/velmora-studio/FluidTables/vmn_Fluids.vmfl \
    share/applications/velmora-studio.desktop share/mime/packages/velmora-studio.xml \
    share/icons/hicolor/scalable/apps/velmora-studio.svg; do
  [ -e "$prefix/$path" ] || fail "$path was not installed"
done
example=$(ls "$share"/ExampleSystems/*.vme | head -n 1)
[ -n "$example" ] || fail "no example network was installed"

# Run from elsewhere, with a home of its own: nothing may come from the build folder.
export HOME=$work/home XDG_DATA_HOME=$work/xdg
mkdir -p "$HOME"
cd "$work"

"$prefix/bin/velmora-cli" --version | grep -q "writes network files of version 1.11" || fail "--version"
"$prefix/bin/velmora-cli" libraries | grep -q "^Libraries in $share\$" || fail "libraries are not read from $share"
"$prefix/bin/velmora-cli" solve "$example" > solve.log || fail "the installed example does not solve"
grep -q "Found Accurate Solution" solve.log || fail "no solution in the results log"

if [ -x "$prefix/bin/velmora-studio" ]; then
  for size in 16 32 48 256; do
    [ -e "$prefix/share/icons/hicolor/${size}x${size}/apps/velmora-studio.png" ] || fail "no ${size}px icon"
  done
  [ -e "$share/Help/Contents.htm" ] || fail "no help pages"
  QT_QPA_PLATFORM=offscreen "$prefix/bin/velmora-studio" --check "$example" > check.log 2> check.err ||
    fail "velmora-studio did not open $example: $(cat check.log check.err)"
  grep -q "^Opened $example: [1-9][0-9]* nodes, [1-9][0-9]* pipes" check.log || fail "$(cat check.log)"
  grep -q "^Data folder: $share\$" check.log || fail "data folder: $(cat check.log)"
  grep -q "^User folder: $XDG_DATA_HOME/velmora-studio\$" check.log || fail "user folder: $(cat check.log)"
  # Opening a file puts it on the recent-files list, kept in the user folder.
  grep -qF "$example" "$XDG_DATA_HOME/velmora-studio/RecentFiles.txt" || fail "recent files not in the XDG folder"
  [ ! -e "$share/RecentFiles.txt" ] || fail "a user file was written into the installation"
  if QT_QPA_PLATFORM=offscreen "$prefix/bin/velmora-studio" --check "$work/missing.vme" > /dev/null 2>&1; then
    fail "--check reported a missing file as opened"
  fi
fi

desktop-file-validate "$prefix/share/applications/velmora-studio.desktop" || fail "desktop entry"
xmllint --noout "$prefix/share/mime/packages/velmora-studio.xml" || fail "MIME type"
# What a file manager does with the MIME package: the type by name and by its magic bytes.
if command -v update-mime-database > /dev/null; then
  update-mime-database "$prefix/share/mime" > /dev/null 2> mime.err || fail "update-mime-database: $(cat mime.err)"
  grep -q "application/x-velmora-network:\*\.vme" "$prefix/share/mime/globs" || fail "no glob for .vme"
  grep -q "application/x-velmora-network" "$prefix/share/mime/magic" || fail "no magic for .vme"
  if command -v gio > /dev/null; then
    # A network file without its extension is still known by its first bytes.
    cp "$example" "$work/network-without-extension"
    XDG_DATA_DIRS="$prefix/share:${XDG_DATA_DIRS:-/usr/share}" gio info -a standard::content-type \
        "$work/network-without-extension" | grep -q "application/x-velmora-network" || fail "magic bytes not matched"
  fi
fi
echo "installed layout works"
