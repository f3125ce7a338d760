#!/usr/bin/env bash
# Compiles every source of the program (not the tests, the simulator, the
# benchmarks or platform/linux) with Debian's MinGW-w64 cross compiler, syntax
# only, against this machine's Qt headers and with each source's own flags
# from the build's compile_commands.json. Windows' own headers come first in
# every source, as <windows.h> will come in on Windows sooner or later, so a
# name that is a Windows macro (near, far, ERROR, interface, small) fails here.
#
# It is not a Windows build: nothing is linked, Qt's Linux configuration stands
# in for a Windows one, and MSVC may still disagree. It catches what most often
# breaks one: POSIX headers outside platform/, Windows macro names, code that
# only GCC on Linux accepts.
#
# Usage: scripts/windows-check.sh [BUILD_DIR]   (default: build; configured if
# it is not). Exits non-zero when any source fails. KSR_WINDOWS_CHECK_JOBS sets
# how many compile at once (2).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$(realpath -m "${1:-build}")
jobs=${KSR_WINDOWS_CHECK_JOBS:-2}
compiler=x86_64-w64-mingw32-g++-posix

command -v "$compiler" >/dev/null || scripts/install-deps.sh
start=$SECONDS

if [ ! -f "$build/compile_commands.json" ]; then
  cmake -S "$root" -B "$build" >/dev/null
fi
# The forms' ui_*.h headers come from the build; uic and moc alone make them.
autogen=$(cmake --build "$build" --target help | grep -oE '\b(ksr583[a-z]*|ksr583-monitor)_autogen\b' \
  | grep -vE '^ksr583(sim|testsupport|testpch)_' | sort -u)
# shellcheck disable=SC2086
cmake --build "$build" --target $autogen -j"$jobs" >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The headers of libraries installed under /usr/include (QCustomPlot, the HTTP
# server's and what it includes), without the C library's and the kernel's:
# those would stand in for Windows' own and hide a POSIX header.
multiarch=$(gcc -print-multiarch 2>/dev/null || echo x86_64-linux-gnu)
system=$(dpkg -L libc6-dev linux-libc-dev 2>/dev/null | grep -oE "^/usr/include/($multiarch/)?[^/]+" | sort -u)
shadow() {
  mkdir -p "$2"
  local entry
  for entry in "$1"/*; do
    case "$(basename "$entry")" in
      c++ | *-linux-gnu*) continue ;;
    esac
    grep -qxF "$entry" <<<"$system" || ln -s "$entry" "$2/"
  done
}
shadow /usr/include "$work/include"
shadow "/usr/include/$multiarch" "$work/include-$multiarch"

# Windows' headers first, as lean as Qt takes them, with the names that are
# macros there: near and far, ERROR (wingdi.h), interface (basetyps.h), and
# small, which the Windows SDK's rpcndr.h defines and MinGW's does not.
cat >"$work/windows-first.h" <<'EOF'
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <winsock2.h>
#include <windows.h>
#include <basetyps.h>
#ifndef small
#define small char
#endif
EOF
# Parsed once: every source then starts from the compiled result. It does not
# depend on the sources' own defines, so one serves them all.
"$compiler" -x c++-header -std=gnu++17 "$work/windows-first.h" -o "$work/windows-first.h.gch"

# One script per source under commands/, each source's own flags kept
# (defines, include paths, language standard, warnings), Linux-only flags
# dropped.
mkdir "$work/commands" "$work/logs"
python3 - "$root" "$build" "$work" "$compiler" <<'EOF'
import glob, json, os, shlex, sys

root, build, work, compiler = sys.argv[1:5]
skipped = ("tests/", "simulator/", "bench/", "fuzz/", "platform/linux/")
linux_spec = "/mkspecs/linux-g++"

def flags_of(entry):
    args = entry.get("arguments") or shlex.split(entry["command"])
    kept, i = [], 1
    while i < len(args):
        a = args[i]
        # A precompiled header is the native compiler's, and each source
        # must compile from its own includes.
        if a == "-include" and args[i + 1].endswith("cmake_pch.hxx"):
            i += 2
            continue
        if a in ("-I", "-isystem", "-D", "-include"):
            kept += [a, args[i + 1].replace(linux_spec, "/mkspecs/win32-g++")]
            i += 2
            continue
        if a.startswith(("-D", "-U", "-I", "-std=", "-W")) and a not in ("-Werror", "-Winvalid-pch"):
            kept.append(a)
        i += 1
    return kept

sources = {}
for entry in json.load(open(os.path.join(build, "compile_commands.json"))):
    path = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
    relative = os.path.relpath(path, root)
    if relative.startswith("..") or path.startswith(build + "/") or relative.startswith(skipped):
        continue
    sources[relative] = flags_of(entry)

# Sources only Windows compiles take the flags of their folder's other sources.
platform_flags = next((f for r, f in sorted(sources.items()) if r.startswith("platform/")), None)
for path in sorted(glob.glob(os.path.join(root, "platform", "windows", "*.cpp"))):
    if platform_flags is not None:
        sources[os.path.relpath(path, root)] = platform_flags

for relative, flags in sorted(sources.items()):
    command = [compiler, "-fsyntax-only", "-include", os.path.join(work, "windows-first.h")] + flags
    for shadow in sorted(glob.glob(os.path.join(work, "include*"))):
        command += ["-idirafter", shadow]
    command.append(os.path.join(root, relative))
    name = relative.replace("/", "_")
    log = os.path.join(work, "logs", name)
    with open(os.path.join(work, "commands", name), "w") as script:
        script.write(shlex.join(command) + " >" + shlex.quote(log) + " 2>&1 || echo "
                     + shlex.quote(relative) + " >>" + shlex.quote(os.path.join(work, "failed")) + "\n")
EOF

total=$(find "$work/commands" -type f | wc -l)
[ "$total" -gt 0 ] || { echo "windows-check: no sources found in $build/compile_commands.json" >&2; exit 1; }
find "$work/commands" -type f -print0 | xargs -0 -n 1 -P "$jobs" sh

failed=0
if [ -f "$work/failed" ]; then
  failed=$(wc -l <"$work/failed")
  sort "$work/failed" | while read -r relative; do
    echo "== $relative"
    grep -E 'error' "$work/logs/$(tr / _ <<<"$relative")" | head -20
  done
fi
echo "windows-check: $((total - failed)) of $total sources pass with $compiler -fsyntax-only" \
  "($((SECONDS - start)) s)"
[ "$failed" -eq 0 ]
