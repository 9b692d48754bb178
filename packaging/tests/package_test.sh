#!/usr/bin/env bash
# Makes the Debian package from the build folder, unpacks it into a temporary
# root and runs the installed programs from there, as an engineer's machine
# would after installing it.  Usage: package_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1 \
  || { cat "$tmp/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$tmp"/out/*.deb)
[ "$(dpkg-deb -f "$deb" Package)" = keld-positioning-tools ] || fail "package name"
[ -n "$(dpkg-deb -f "$deb" Version)" ] || fail "no version"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
[[ "$depends" == *libqt6widgets6* && "$depends" == *libc6* ]] || fail "Depends not computed from the libraries"

# Every file under /usr or /etc; our libraries in the private folder only.
outside=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -vE '^\./(usr|etc)(/|$)|^\./$' || true)
[ -z "$outside" ] || fail "files outside /usr and /etc: $outside"
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in usr/bin/AxisCfg usr/bin/axcfg usr/bin/plcsim usr/bin/KELD_TAVMGR usr/bin/KELD_TAVSCOPE \
         usr/bin/KELD_TavModem usr/lib/keld/libKELD_TAVINTER.so usr/share/keld/lang/AxisCfg.jpn.txt \
         usr/share/doc/keld-positioning-tools/copyright usr/share/applications/AxisCfg.desktop \
         usr/share/mime/packages/keld-axc.xml usr/share/icons/hicolor/scalable/apps/keld-axiscfg.svg; do
  grep -qx "\./$f" <<<"$contents" || fail "missing $f"
done
ls "$src"/../help >/dev/null 2>&1 && { grep -q '^\./usr/share/keld/help/.*\.html$' <<<"$contents" || fail "no help pages"; }

root=$tmp/root
dpkg-deb -x "$deb" "$root"
bin=$root/usr/bin

# Relocatable: nothing may point back into the build folder, and every
# library must resolve from the unpacked tree alone.
for f in "$bin"/* "$root"/usr/lib/keld/*.so*; do
  if readelf -d "$f" | grep -E 'RUNPATH|RPATH' | grep -q "$build"; then fail "$f refers to the build folder"; fi
  if env -u LD_LIBRARY_PATH ldd "$f" | grep -q 'not found'; then env -u LD_LIBRARY_PATH ldd "$f" >&2; fail "$f: library not found"; fi
  if env -u LD_LIBRARY_PATH ldd "$f" | grep -q "$build"; then fail "$f loads a library of the build folder"; fi
done

export KELD_HOME=$tmp/home QT_QPA_PLATFORM=offscreen
unset KELD_LANG_DIR LD_LIBRARY_PATH
"$bin/axcfg" unit-info --dest sim >"$tmp/info.txt" || fail "axcfg unit-info"
cat "$tmp/info.txt"
"$bin/axcfg" new -o "$tmp/work/first" 2>/dev/null && fail "axcfg new into a missing folder succeeded"
mkdir -p "$tmp/work"
"$bin/axcfg" new -o "$tmp/work/first" --layout "A:1,2 3" || fail "axcfg new"
[ -s "$tmp/work/first.axc" ] || fail "axcfg new wrote no file"
"$bin/axcfg" check "$tmp/work/first.axc" | grep -q "There was no error." || fail "axcfg check"

# AxisCfg opens the file and keeps running; a crash or an early exit fails.
set +e
timeout 2 "$bin/AxisCfg" "$tmp/work/first.axc" >"$tmp/axiscfg.log" 2>&1
rc=$?
set -e
[ $rc -eq 124 ] || { cat "$tmp/axiscfg.log" >&2; fail "AxisCfg ended with $rc within two seconds"; }
# The first start seeded the servers' settings file from the installed one.
cmp -s "$root/usr/share/keld/defaults/KELD_TAVCOMM.INI" "$KELD_HOME/settings/KELD_TAVCOMM.INI" ||
  fail "KELD_TAVCOMM.INI was not seeded from the installed defaults"

for d in "$root"/usr/share/applications/*.desktop; do
  grep -q '^Icon=' "$d" || fail "$d has no icon"
  icon=$(sed -n 's/^Icon=//p' "$d")
  [ -e "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "$d: icon $icon not installed"
  exe=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$d")
  [ -x "$bin/$exe" ] || fail "$d: $exe not installed"
  if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$d" || fail "$d invalid"; fi
done
grep -q '^Exec=AxisCfg %f$' "$root/usr/share/applications/AxisCfg.desktop" || fail "AxisCfg does not take the file"
if command -v xmllint >/dev/null; then
  xmllint --noout "$root"/usr/share/mime/packages/keld-axc.xml || fail "mime entry"
  for s in "$root"/usr/share/icons/hicolor/scalable/*/*.svg; do xmllint --noout "$s" || fail "$s"; done
fi
# The mime entry's magic matches what axcfg writes.
magic=$(head -c 6 "$tmp/work/first.axc" | od -An -tx1 | tr -d ' \n')
[ "$magic" = 41584346feef ] || fail "setting file starts with $magic"
grep -q 'value="AXCF\\xfe\\xef"' "$root"/usr/share/mime/packages/keld-axc.xml || fail "mime magic"
if command -v lintian >/dev/null; then
  lintian "$deb" >"$tmp/lintian.txt" 2>&1 || true
  cat "$tmp/lintian.txt"
  if grep -q '^E:' "$tmp/lintian.txt"; then fail "lintian reports errors"; fi
fi
echo "package test passed: $(basename "$deb")"
