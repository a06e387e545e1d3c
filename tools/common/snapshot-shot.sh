# Sourced by the picture scripts: builds the snapshot tool (linux preset) unless SNAPSHOT names
# one, and defines `shot NAME ARGS...`, which writes $out/NAME.png and names it.
snapshot=${SNAPSHOT:-build/linux/tools/snapshot/snapshot}
if [[ -z ${SNAPSHOT:-} ]]; then
    cmake --preset linux >/dev/null
    cmake --build --preset linux -j2 --target snapshot >/dev/null
fi
mkdir -p "$out"
shot() { # NAME ARGS...
    local name=$1; shift
    "$snapshot" "$out/$name.png" "$@" >/dev/null
    echo "$out/$name.png"
}
