#!/usr/bin/env bash
# Checks a release package: check_package.sh ZIP OBJDUMP
# The files are there, the Group Policy templates in the folder Richtlinien; zuklapper.exe is
# a GUI program that imports only DLLs every Windows has, and its version resource reads
# 1.00.0008. Prints each finding; exits 1 on any.
set -euo pipefail
zip=$1 objdump=$2
problems=0
bad() { printf 'package %s: %s\n' "$(basename "$zip")" "$*" >&2; problems=$((problems + 1)); }

[ -f "$zip" ] || { bad "missing"; exit 1; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
(cd "$dir" && cmake -E tar xf "$zip")

for file in zuklapper.exe Hilfe.txt Liesmich.txt LICENSE.txt Richtlinien/zuklapper.admx \
    Richtlinien/de-DE/zuklapper.adml Richtlinien/en-US/zuklapper.adml Richtlinien/Liesmich.txt; do
    [ -s "$dir/$file" ] || bad "no $file"
done
for file in Hilfe.txt Liesmich.txt Richtlinien/Liesmich.txt; do
    # Windows-1252 with CR LF: no UTF-8 sequences, no bare LF.
    [ -s "$dir/$file" ] || continue
    if LC_ALL=C grep -q $'[\xc3\xc2][\x80-\xbf]' "$dir/$file"; then bad "$file is UTF-8"; fi
    if LC_ALL=C grep -qv $'\r$' "$dir/$file"; then bad "$file has lines without CR LF"; fi
done
grep -q 'MIT' "$dir/LICENSE.txt" 2>/dev/null || bad "LICENSE.txt is not the MIT licence"
exe=$dir/zuklapper.exe
[ -s "$exe" ] || exit 1

headers=$("$objdump" -p "$exe")
grep -Eq '^Subsystem[[:space:]]+0+2[[:space:]]' <<<"$headers" || bad "zuklapper.exe is no GUI program"
# The system DLLs of every Windows since XP; runtime DLLs of the compiler are none of them.
system='kernel32|user32|gdi32|shell32|comctl32|advapi32|msvcrt|comdlg32|ole32|oleaut32|oleacc|shlwapi|version|winmm|imm32|uxtheme|ws2_32|gdiplus'
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
[ -n "$dlls" ] || bad "zuklapper.exe imports no DLL"
while read -r dll; do
    [ -z "$dll" ] && continue
    grep -Eqix "($system)\.dll" <<<"$dll" || bad "zuklapper.exe imports $dll"
done <<<"$dlls"

# VS_FIXEDFILEINFO: the signature FEEF04BD, its structure version, then the file version
# 1.0 (high) and 0.8 (low); and the string FileVersion "1.00.0008" in UTF-16.
hex=$(od -An -v -tx1 "$exe" | tr -d ' \n')
grep -Eq 'bd04effe.{8}0000010008000000' <<<"$hex" || bad "the fixed file version is not 1.0.0.8"
utf16=$(printf '%s' 'FileVersion' | od -An -v -tx1 | tr -d ' \n' | sed 's/../&00/g')
version=$(printf '%s' '1.00.0008' | od -An -v -tx1 | tr -d ' \n' | sed 's/../&00/g')
grep -Eq "${utf16}0000(00)*${version}0000" <<<"$hex" || bad "the FileVersion text is not 1.00.0008"

[ "$problems" -eq 0 ] || exit 1
printf 'package %s: %s\n' "$(basename "$zip")" "$(tr '\n' ' ' <<<"$dlls")" >&2
