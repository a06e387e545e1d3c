#!/usr/bin/env bash
# Runs an x11 test executable on a private Xvfb of its own, so that test cases neither see nor
# disturb each other's pointer, windows and screen, nor the user's display. Listing the cases
# needs no display. Without Xvfb the executable runs as it is (and its window tests skip when
# no display opens).
set -u
case " $* " in
*" --gtest_list_tests "*) exec "$@" ;;
esac
if ! command -v Xvfb >/dev/null 2>&1; then
    exec "$@"
fi
ready=$(mktemp)
# -displayfd picks a free display number and writes it once the server accepts connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
server=$!
cleanup() {
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
    rm -f "$ready"
}
trap cleanup EXIT
for _ in $(seq 200); do
    [ -s "$ready" ] && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.05
done
number=$(tr -dc '0-9' <"$ready")
if [ -z "$number" ]; then
    echo "run-on-xvfb: Xvfb did not start; running on DISPLAY=${DISPLAY:-(none)}" >&2
    "$@"
    exit $?
fi
DISPLAY=":$number" "$@"
