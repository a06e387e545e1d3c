#!/usr/bin/env bash
# Makes the packages of a build folder with CPack and checks what they hold:
#
#   tests/packages/check-packages.sh BUILD_FOLDER
#
# Linux: the .deb holds the three programs, the font module, the manual with every picture, the
# two .desktop files (whose commands and icon it holds too) and the icon at every size.
# Windows: the zip holds the three executables, each with its icon, version information and
# manifest, and the manual with every picture. The 64-bit installer is run silently under Wine in
# a prefix of its own: it must put the same files and the Start-menu shortcuts in place, and its
# uninstaller must take them away again with the clock's Run value. The 32-bit installer, which
# this machine cannot run, is listed instead.
set -euo pipefail
trap 'echo "check-packages: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
build=$(cd "$1" && pwd)
src=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out="$build/packages"

errors=()
fail() { errors+=("$*"); }
# expect LISTING PATH...: each PATH is a line of LISTING.
expect() {
    local listing=$1
    shift
    for path in "$@"; do
        grep -qxF -- "$path" <<<"$listing" || fail "missing: $path"
    done
}
finish() {
    if [ ${#errors[@]} -gt 0 ]; then
        printf 'check-packages: %s\n' "${errors[@]}" >&2
        exit 1
    fi
    echo "check-packages: $*"
    exit 0
}

pictures=()
for p in "$src"/doc/divaduva/*.png; do pictures+=("divaduva/$(basename "$p")"); done
[ ${#pictures[@]} -gt 0 ] || fail "no manual pictures in doc/divaduva/"

rm -rf "$out"
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$build/cpack.log" 2>&1 ||
    { cat "$build/cpack.log" >&2; exit 1; }

shopt -s nullglob
debs=("$out"/*.deb)
zips=("$out"/*.zip)
installers=("$out"/*.exe)

if [ ${#debs[@]} -gt 0 ]; then
    [ ${#debs[@]} -eq 1 ] || fail "expected one .deb, found: ${debs[*]}"
    deb=${debs[0]}
    listing=$(dpkg-deb -c "$deb" | awk '{ print $NF }' | sed 's|^\./||')
    expect "$listing" usr/bin/nixie usr/bin/nixie-hexedit usr/bin/nixie-gallery \
        usr/lib/nixie/nixie-fonts.so usr/share/nixie/divaduva.html \
        "${pictures[@]/#/usr/share/nixie/}" \
        usr/share/applications/nixie.desktop usr/share/applications/nixie-hexedit.desktop
    for size in 16 24 32 48 64; do
        expect "$listing" "usr/share/icons/hicolor/${size}x${size}/apps/nixie.png"
    done
    # Each menu entry starts a program the package installs and shows its icon.
    for entry in nixie nixie-hexedit; do
        desktop=$(dpkg-deb --fsys-tarfile "$deb" |
            tar -xOf - "./usr/share/applications/$entry.desktop")
        command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' <<<"$desktop")
        expect "$listing" "usr/bin/$command"
        grep -qx 'Icon=nixie' <<<"$desktop" || fail "$entry.desktop: not Icon=nixie"
    done
    grep -q 'libx11-6' <<<"$(dpkg-deb -f "$deb" Depends)" || fail "the .deb does not depend on libx11-6"
    finish "$(basename "$deb") holds the programs, the font module, the manual, the menu entries and the icons"
fi

[ ${#zips[@]} -eq 1 ] || fail "expected one .zip, found: ${zips[*]:-none}"
[ ${#installers[@]} -eq 1 ] || fail "expected one installer, found: ${installers[*]:-none}"
[ ${#errors[@]} -eq 0 ] || finish
zip=${zips[0]}
installer=${installers[0]}
programs=(nixie.exe hexedit.exe gallery.exe)

# The zip's files, without the folder that holds them.
listing=$(unzip -Z1 "$zip" | sed 's|^[^/]*/||')
expect "$listing" "${programs[@]}" divaduva.html "${pictures[@]}"
scratch="$out/check"
mkdir -p "$scratch"
for program in "${programs[@]}"; do
    unzip -p "$zip" "*/$program" >"$scratch/$program"
    # The resource types at the top of its resource directory, as binutils reads them.
    types=$(x86_64-w64-mingw32-objdump -p "$scratch/$program" |
        sed -n '/The .rsrc Resource Directory/,$p' | awk '/^[0-9a-f]+   Entry: ID:/ { print $4 }')
    for kind in 0x000003,ICON 0x00000e,GROUP_ICON 0x000010,VERSION 0x000018,MANIFEST; do
        grep -qx "${kind%,*}," <<<"$types" || fail "$program: no ${kind#*,} resource"
    done
done

if file "$installer" | grep -q 'PE32 executable'; then
    # A 32-bit installer: its files as 7-Zip reads them (the uninstaller is written at install).
    listing=$(7z l -slt "$installer" | sed -n 's/^Path = //p' | tr '\\' /)
    expect "$listing" "${programs[@]}" divaduva.html "${pictures[@]}"
    finish "$(basename "$zip") and $(basename "$installer") hold the programs and the manual"
fi

# The 64-bit installer, silently, in a Wine prefix of its own (the tests' prefix has a Run value
# of its own to look after); Wine must not add menu entries to this machine's desktop.
export WINEPREFIX="$out/wineprefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
wineboot --init >/dev/null 2>&1 || true
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
wine reg add "$run_key" /v QXRidivAzoza /d '"C:\Nixie\nixie.exe" -autominimize' /f >/dev/null
target="$WINEPREFIX/drive_c/Nixie"
wine "$installer" /S '/D=C:\Nixie' || fail "the installer failed ($?)"
wineserver -w

installed=$(cd "$target" 2>/dev/null && find . -type f | sed 's|^\./||' || true)
expect "$installed" "${programs[@]}" divaduva.html "${pictures[@]}" Uninstall.exe
menu=$(find "$WINEPREFIX/drive_c" -type d -path '*/Start Menu/Programs/Nixie Tube Clock' | head -n1)
shortcuts=$([ -n "$menu" ] && cd "$menu" && ls || true)
expect "$shortcuts" "Nixie Tube Clock.lnk" "Hex Editor.lnk" "Control Gallery.lnk" \
    "Nixie Users Manual.lnk" "Uninstall.lnk"
wine reg query "$run_key" /v QXRidivAzoza >/dev/null 2>&1 || fail "the installer removed the Run value"

wine "$target/Uninstall.exe" /S || fail "the uninstaller failed ($?)"
wineserver -w
left=$([ -d "$target" ] && cd "$target" && find . -type f || true)
[ -z "$left" ] || fail "left after uninstalling: $left"
[ -z "$menu" ] || [ ! -e "$menu" ] || fail "the Start-menu folder is left after uninstalling"
if wine reg query "$run_key" /v QXRidivAzoza >/dev/null 2>&1; then
    fail "the uninstaller left the clock's Run value"
fi
finish "$(basename "$zip") holds the programs and the manual; $(basename "$installer") installs them with their shortcuts, and its uninstaller takes them and the Run value away"
