#!/usr/bin/env bash
# Builds the Debian package in a build folder (default build/, configured when
# it is not yet) and checks what it holds: the programs, the plug-in and its
# libraries, the desktop entries, icons, the OBJ type, the manual pages,
# corvina-cli's completion and the examples, nothing of the tests, and the
# control fields. lintian's findings are reported when it is installed; they
# do not fail the check.
#   scripts/check-package.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
if ! log=$(cmake --build "$build" --target package 2>&1); then
  echo "$log" >&2
  exit 1
fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$build/corvina_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { echo "check-package: $deb was not made" >&2; exit 1; }

# The paths the package holds, one a line, without the leading "./".
contents=$(dpkg-deb -c "$deb" | awk '{ sub(/^\.\//, "", $6); print $6 }')
failures=0
fail() { echo "check-package: $*" >&2; failures=$((failures + 1)); }

for path in usr/bin/corvina usr/bin/corvina-cli usr/bin/lkit usr/bin/brushwright-host \
  usr/lib/corvina/brushwright/brushwright-host usr/lib/corvina/brushwright/brushwright.so \
  usr/lib/corvina/brushwright/libmsModelLib.so usr/lib/corvina/brushwright/libbrushwrightHostPlatform.so \
  usr/share/applications/corvina.desktop usr/share/applications/lkit.desktop \
  usr/share/icons/hicolor/256x256/apps/corvina.png usr/share/icons/hicolor/256x256/apps/lkit.png \
  usr/share/mime/packages/corvina-obj.xml \
  usr/share/man/man1/corvina.1.gz usr/share/man/man1/corvina-cli.1.gz \
  usr/share/man/man1/lkit.1.gz usr/share/man/man1/brushwright-host.1.gz \
  usr/share/bash-completion/completions/corvina-cli \
  usr/share/corvina/examples/crate.obj \
  usr/share/doc/corvina/copyright usr/share/doc/corvina/changelog.gz; do
  grep -qxF "$path" <<<"$contents" || fail "missing $path"
done
# Only the installed layout: nothing of the tests, benchmarks or build tree.
stray=$(grep -Ev '^(usr/(bin|lib/corvina|share/(applications|icons|mime|man|bash-completion|corvina|doc))(/|$)|usr/(lib|share)?/?$|$)' <<<"$contents" || true)
[ -z "$stray" ] || fail "unexpected files: $stray"
grep -E '_tests|_bench|_fuzz|corvina-docs' <<<"$contents" && fail "test or build programs packaged"

# Without maintainer scripts apt-get remove leaves no trace, not even a
# removed-but-configured entry.
scripts=$(dpkg-deb -I "$deb" | grep -Eo '\b(preinst|postinst|prerm|postrm)\b' || true)
[ -z "$scripts" ] || fail "maintainer scripts: $scripts"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = corvina ] || fail "Package is $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version is $(field Version), not $version"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
for library in libc6 libstdc++6 libqt6widgets6 libqt6gui6 libqt6core6; do
  field Depends | grep -q "\b$library\b" || fail "Depends lacks $library: $(field Depends)"
done

if command -v lintian >/dev/null; then
  findings=$(lintian --tag-display-limit 0 "$deb" 2>/dev/null || true)
  if [ -n "$findings" ]; then
    echo "lintian reports $(grep -c . <<<"$findings") findings for $deb:"
    echo "$findings"
  fi
else
  echo "lintian is not installed; its check was skipped"
fi

if [ "$failures" -gt 0 ]; then
  echo "check-package: $failures problems in $deb" >&2
  exit 1
fi
echo "$deb: contents and control fields as expected"
