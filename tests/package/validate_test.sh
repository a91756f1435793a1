#!/bin/sh
# Installs the build into a fresh prefix and checks what the desktop reads there with the
# desktop's own validators: both desktop entries, the metainfo, the systemd user units, and the
# icon the entries name, present at every size of the theme.
# Usage: validate_test.sh BUILD-DIR
set -eu
build=$1
work=$(mktemp -d /tmp/quorvex-validate-XXXXXX)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

for entry in "$prefix/share/applications/quorvex.desktop" "$prefix/etc/xdg/autostart/quorvex.desktop"; do
  desktop-file-validate "$entry"
  icon=$(sed -n 's/^Icon=//p' "$entry")
  [ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || { echo "no scalable icon $icon"; exit 1; }
  exec=$(sed -n 's/^Exec="\([^"]*\)".*/\1/p' "$entry")
  [ -x "$exec" ] || { echo "$entry starts $exec, which is no program"; exit 1; }
done

for size in 16 22 24 32 48 64 128 256; do
  png="$prefix/share/icons/hicolor/${size}x$size/apps/quorvex.png"
  file "$png" | grep -q "PNG image data, $size x $size," || { file "$png"; exit 1; }
done
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/quorvex.svg"

appstreamcli validate --no-net "$prefix/share/metainfo/org.quorvex.Quorvex.metainfo.xml"

if command -v systemd-analyze >/dev/null; then
  # The user manager's checks need a runtime folder of their own.
  mkdir -m 700 "$work/runtime"
  (cd "$prefix/share/systemd/user" &&
    XDG_RUNTIME_DIR="$work/runtime" systemd-analyze verify --user --man=no \
      ./quorvex-due.timer ./quorvex-due.service)
else
  echo "systemd-analyze is not installed: the units were not verified"
fi

for page in quorvex quorvexctl; do
  man --warnings -l "$prefix/share/man/man1/$page.1.gz" 2>"$work/man.err" >/dev/null
  [ ! -s "$work/man.err" ] || { cat "$work/man.err"; exit 1; }
done
echo "desktop entries, icons, metainfo, units and manual pages are valid"
