# Shared set-up of scripts/run, scripts/test and scripts/wine-exec; sourced, not run.
set -euo pipefail

ZK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ZK_JOBS=2
ZK_PKGS_BUILD=(cmake ninja-build)
# build/check builds with clang against g++'s libstdc++.
ZK_PKGS_NATIVE=(g++ googletest libgtest-dev libbenchmark-dev)
# clang's sanitizer runtimes and libFuzzer.
ZK_PKGS_CLANG=(clang libclang-rt-14-dev)
# The checks of formatting, of clang-tidy and of the Group Policy templates (xmllint).
ZK_PKGS_CHECK=(clang-format clang-tidy libxml2-utils)
ZK_PKGS_WIN64=(g++-mingw-w64-x86-64-posix)
ZK_PKGS_WIN32=(g++-mingw-w64-i686-posix)
# wine32 runs the 32-bit build; it comes from Debian's i386 architecture.
# Nimbus Sans stands in for Arial, which the about box names and Wine does not ship;
# fonts-wine has Wine's own fonts, Marlett among them.
ZK_PKGS_WINE=(wine wine64 wine32:i386 xvfb fonts-urw-base35 fonts-wine)
# One Wine prefix for both builds.
ZK_WINEPREFIX=$ZK_ROOT/build/wineprefix

zk_log() { printf '== %s\n' "$*" >&2; }

# The project's C++ sources and headers.
zk_sources() {
    find "$ZK_ROOT/src" "$ZK_ROOT/tests" "$ZK_ROOT/bench" -type f \( -name '*.cpp' -o -name '*.h' \) | sort
}

# Installs the Debian packages that are not installed yet.
zk_install() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q ' installed$' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    zk_log "installing ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo[@]}" dpkg --add-architecture i386
    fi
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
}

# Configures (with Ninja) and builds a tree:
# zk_build DIR TOOLCHAIN|"" [-DNAME=VALUE cache entries] [cmake --build args].
zk_build() {
    local name=$1 dir=$ZK_ROOT/$1 toolchain=$2 cache=()
    shift 2
    while [ $# -gt 0 ] && [[ $1 == -D* ]]; do
        cache+=("$1")
        shift
    done
    # A tree configured with another generator is configured afresh.
    if [ -f "$dir/CMakeCache.txt" ] &&
        ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$dir/CMakeCache.txt"; then
        rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
    fi
    zk_log "configuring $name"
    cmake -S "$ZK_ROOT" -B "$dir" -G Ninja \
        ${toolchain:+"-DCMAKE_TOOLCHAIN_FILE=$ZK_ROOT/$toolchain"} ${cache[@]+"${cache[@]}"} >/dev/null
    zk_log "building $name"
    cmake --build "$dir" -j "$ZK_JOBS" "$@"
}

# clang-tidy (.clang-tidy) over every C++ source file, with the compile commands of the first
# tree that builds it: build/check, then build/win64, analysed for the MinGW target with
# MinGW's headers and libstdc++. Headers are checked where they are included. The trees must
# be built: a file's project headers are those its object depends on.
# A file whose run had no finding gets a stamp in build/tidy/ of what the run saw: .clang-tidy,
# clang-tidy's version, the file's compile command, and the contents of the file and of the
# project's headers it includes. While those stay the same, the file is not checked again.
# Each report goes to build/tidy/; false when any file has a finding or is in no tree.
zk_tidy() {
    local out=$ZK_ROOT/build/tidy gcc file tree command object deps headers key stamp
    local seen=() queue=() missing=0 skipped=0 common
    gcc=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
    # clang finds MinGW's headers in the sysroot, but not the libstdc++ of its -posix gcc.
    local windows=(--extra-arg=--target=x86_64-w64-mingw32
        --extra-arg=--sysroot=/usr/x86_64-w64-mingw32 --extra-arg=-nostdinc++
        "--extra-arg=-isystem$gcc/include/c++"
        "--extra-arg=-isystem$gcc/include/c++/x86_64-w64-mingw32"
        "--extra-arg=-isystem$gcc/include/c++/backward" --extra-arg=-Wno-unknown-warning-option)
    common=$(sha256sum "$ZK_ROOT/.clang-tidy" && clang-tidy --version)
    mkdir -p "$out"
    local -A tree_of command_of
    for tree in check win64; do
        # "file" and "command" of each entry; the command stays as the JSON writes it.
        while IFS=$'\t' read -r file command; do
            [ -z "${tree_of[$file]:-}" ] || continue
            tree_of[$file]=$tree
            command_of[$file]=$command
        done < <(awk '/^  "command": "/ { c = substr($0, 15); sub(/",?$/, "", c) }
            /^  "file": "/ { f = substr($0, 12); sub(/",?$/, "", f) }
            /^}/ { print f "\t" c }' "$ZK_ROOT/build/$tree/compile_commands.json")
    done
    while read -r file; do
        tree=${tree_of[$file]:-}
        if [ -z "$tree" ]; then
            zk_log "clang-tidy: $file is built in none of the trees"
            missing=1
            continue
        fi
        command=${command_of[$file]}
        object=
        [[ $command =~ \ -o\ ([^ ]+) ]] && object=${BASH_REMATCH[1]}
        deps=$(ninja -C "$ZK_ROOT/build/$tree" -t deps "$object" 2>/dev/null || true)
        if [[ $deps == *"#deps "* ]]; then
            mapfile -t headers < <(awk 'NR > 1 && NF { print $1 }' <<<"$deps" |
                grep -F "$ZK_ROOT/" | grep -vF "$ZK_ROOT/build/" | grep -vxF "$file" | sort -u)
        else
            # No record of its object's dependencies: all of them.
            mapfile -t headers < <(zk_sources | grep '\.h$')
        fi
        key=$({
            printf '%s\n' "$common" "$tree" "$command"
            [ "$tree" = check ] || printf '%s\n' "${windows[@]}"
            sha256sum "$file" ${headers[@]+"${headers[@]}"}
        } | sha256sum | cut -d' ' -f1)
        stamp=$out/${file#"$ZK_ROOT/"}.ok
        if [ "$(cat "$stamp" 2>/dev/null)" = "$key" ]; then
            skipped=$((skipped + 1))
        else
            queue+=("$tree" "$file" "$key")
        fi
        seen+=("$file")
    done < <(zk_sources | grep '\.cpp$')
    zk_log "clang-tidy: ${#seen[@]} files, $skipped unchanged since their last clean run"
    export ZK_ROOT
    export ZK_TIDY_WINDOWS="${windows[*]}"
    # Two jobs; a report is printed whole once its file is done.
    [ ${#queue[@]} -eq 0 ] || printf '%s\n' "${queue[@]}" | xargs -d '\n' -n 3 -P "$ZK_JOBS" bash -c '
        base=$ZK_ROOT/build/tidy/${1#"$ZK_ROOT/"}
        mkdir -p "$(dirname "$base")"
        rm -f "$base.ok"
        extra=()
        [ "$0" = win64 ] && read -ra extra <<<"$ZK_TIDY_WINDOWS"
        if clang-tidy --quiet -p "$ZK_ROOT/build/$0" "${extra[@]}" "$1" >"$base.log" 2>&1; then
            printf "%s\n" "$2" >"$base.ok"
        else
            cat "$base.log" >&2
            exit 1
        fi' || return 1
    return "$missing"
}

# The steps of a script and their times: zk_step NAME ends the step before and begins NAME;
# zk_fail NAME marks the running step failed; zk_steps prints a table of them all.
ZK_STEP=
ZK_STEP_NAMES=()
ZK_STEP_TIMES=()
ZK_STEP_FAILED=()
ZK_FAILED=()
zk_now() { local t=${EPOCHREALTIME/[.,]/}; printf '%s' "$((t / 100000))"; } # tenths of a second
zk_tenths() { printf '%d.%d' "$(($1 / 10))" "$(($1 % 10))"; }
ZK_START=$(zk_now)
zk_step_end() {
    [ -n "$ZK_STEP" ] || return 0
    local tenths=$(($(zk_now) - ZK_STEP_START))
    ZK_STEP_NAMES+=("$ZK_STEP")
    ZK_STEP_TIMES+=("$tenths")
    ZK_STEP_FAILED+=("${ZK_STEP_FAIL:-}")
    zk_log "$ZK_STEP: $(zk_tenths "$tenths") s${ZK_STEP_FAIL:+ ($ZK_STEP_FAIL)}"
    ZK_STEP= ZK_STEP_FAIL=
}
zk_step() {
    zk_step_end
    ZK_STEP=$1 ZK_STEP_START=$(zk_now) ZK_STEP_FAIL=
    zk_log "$1"
}
zk_fail() {
    ZK_FAILED+=("$1")
    ZK_STEP_FAIL=failed
}
zk_steps() {
    # A step still running is one the script stopped in.
    [ -z "$ZK_STEP" ] || { ZK_STEP_FAIL=stopped; zk_step_end; }
    local i
    printf '\n%-46s %8s\n' step seconds >&2
    for i in "${!ZK_STEP_NAMES[@]}"; do
        printf '%-46s %8s%s\n' "${ZK_STEP_NAMES[i]}" "$(zk_tenths "${ZK_STEP_TIMES[i]}")" \
            "${ZK_STEP_FAILED[i]:+  ${ZK_STEP_FAILED[i]}}" >&2
    done
    printf '%-46s %8s\n' total "$(zk_tenths $(($(zk_now) - ZK_START)))" >&2
}

ZK_CLEANUP=()
zk_cleanup() {
    local i
    for ((i = ${#ZK_CLEANUP[@]} - 1; i >= 0; i--)); do eval "${ZK_CLEANUP[i]}" || true; done
    ZK_CLEANUP=()
}
trap zk_cleanup EXIT
trap 'exit 130' INT TERM

# Starts a private Xvfb when no display is set; it ends with the script.
zk_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local numfile pid i
    numfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" </dev/null >/dev/null 2>&1 &
    pid=$!
    ZK_CLEANUP+=("kill $pid 2>/dev/null; wait $pid 2>/dev/null")
    for ((i = 0; i < 100; i++)); do
        [ -s "$numfile" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    [ -s "$numfile" ] || { zk_log "Xvfb did not start"; rm -f "$numfile"; return 1; }
    export DISPLAY=:$(head -n1 "$numfile")
    rm -f "$numfile"
    zk_log "private X display $DISPLAY"
}

# Wine's environment for a prefix; the prefix is created on first use.
zk_wine_env() {
    export WINEPREFIX=$1
    # Wine takes its ANSI code page and locale from the environment's: code page 1252 and
    # English names (Notepad's title), as the tests expect, whatever the machine is set to.
    export LC_ALL=C.UTF-8
    export WINEDEBUG=${WINEDEBUG:--all}
    # No installers for Mono or Gecko: the program needs neither.
    export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
    ZK_WINE=$(command -v wine || echo /usr/lib/wine/wine64)
}

zk_wine_prefix() {
    local marker=$WINEPREFIX/.zuklapper-ready
    [ -f "$marker" ] || zk_wine_prefix_create "$marker"
    # Arial as Nimbus Sans, of the same widths; also in prefixes made before this step.
    if ! grep -q '"Arial"="Nimbus Sans"' "$WINEPREFIX/user.reg"; then
        "$ZK_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Nimbus Sans' /f \
            </dev/null >/dev/null 2>&1
        wineserver -w
    fi
    # The layout tests set another DPI while they run; one that ended early left it set. (The
    # file may lag behind the running wineserver; setting 96 again does no harm.)
    local dpi
    dpi=$(awk '/^\[/ { desktop = /^\[Control Panel\\\\Desktop\]/ }
        desktop && /^"LogPixels"=dword:/ { print substr($0, 19) }' "$WINEPREFIX/user.reg")
    if [ -n "$dpi" ] && [ "$dpi" != 00000060 ]; then
        "$ZK_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f \
            </dev/null >/dev/null 2>&1
    fi
    # A program that crashes ends at once. Wine's debugger, started on every crash, can hold a
    # test step for minutes; a debugger command that does not exist lets the program end.
    if grep -q '^"Debugger"="winedbg' "$WINEPREFIX/system.reg"; then
        local view
        for view in 32 64; do
            "$ZK_WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
                /v Debugger /d 'no-debugger %ld %ld' /f /reg:$view </dev/null >/dev/null 2>&1
        done
        wineserver -w
    fi
    # Wine draws the caption buttons with Marlett, which it does not find where Debian puts it.
    local fonts=$WINEPREFIX/drive_c/windows/Fonts
    [ -f "$fonts/marlett.ttf" ] || cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
}

zk_wine_prefix_create() {
    local marker=$1
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        [ -f "$marker" ] && exit 0
        zk_log "creating Wine prefix $WINEPREFIX (once)"
        rm -rf "$WINEPREFIX"
        wineboot -i </dev/null >/dev/null 2>&1
        # Without a window manager Wine waits on every window it destroys unless the
        # X11 driver leaves windows unmanaged.
        "$ZK_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
            </dev/null >/dev/null 2>&1
        wineserver -w
        if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg"; then
            zk_log "Wine prefix set-up failed"
            exit 1
        fi
        touch "$marker"
    ) 9>"$WINEPREFIX.lock"
}

# A copy of a ready prefix, for a second Wine session beside the first: Wine's own system
# folders hard-linked (Wine only reads them), everything else copied.
zk_wine_prefix_copy() {
    local from=$1 to=$2
    [ -f "$to/.zuklapper-ready" ] && return 0
    zk_log "copying Wine prefix $from to $to (once)"
    rm -rf "$to"
    cp -a "$from" "$to" --no-target-directory --link || return 1
    rm -f "$to/.zuklapper-ready"
    find "$to" -type f -links +1 ! -path "$to/drive_c/windows/system32/*" \
        ! -path "$to/drive_c/windows/syswow64/*" ! -path "$to/drive_c/windows/winsxs/*" \
        -exec sh -c 'for f; do cp -p "$f" "$f.copy" && mv -f "$f.copy" "$f"; done' sh {} + ||
        return 1
    touch "$to/.zuklapper-ready"
}

# A display, a ready prefix and a wineserver that stays up until the script ends.
zk_wine_session() {
    zk_wine_env "$1"
    zk_display
    zk_wine_prefix
    wineserver -p </dev/null >/dev/null 2>&1 || true # fails when one runs already
    ZK_CLEANUP+=("wineserver -k 2>/dev/null; wineserver -w 2>/dev/null")
}
