#!/usr/bin/env bash
# Fails when one of the given programs or libraries needs, directly or through
# another library, Qt Widgets or Qt Gui, or when one of its libraries cannot
# be found. The command-line programs must run where no widget library is
# installed.
set -u
status=0
for file in "$@"; do
  if ! out=$(ldd "$file" 2>&1); then
    echo "FAIL $file: ldd failed: $out"
    status=1
    continue
  fi
  if grep -q "not found" <<<"$out"; then
    echo "FAIL $file: a library is missing:"
    grep "not found" <<<"$out"
    status=1
  fi
  if grep -E -q 'libQt6(Widgets|Gui)\.so' <<<"$out"; then
    echo "FAIL $file needs a widget library:"
    grep -E 'libQt6(Widgets|Gui)\.so' <<<"$out"
    # Which of its own libraries brings it in.
    for lib in $(awk '/=> \// {print $3}' <<<"$out"); do
      if readelf -d "$lib" 2>/dev/null | grep -E -q 'NEEDED.*libQt6(Widgets|Gui)\.so'; then
        echo "  needed by $lib"
      fi
    done
    if readelf -d "$file" | grep -E -q 'NEEDED.*libQt6(Widgets|Gui)\.so'; then
      echo "  needed by $file itself"
    fi
    status=1
  else
    echo "ok   $file"
  fi
done
exit $status
