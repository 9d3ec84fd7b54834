# What the end-to-end scripts share (sourced): ending the processes they
# start, waiting for a condition, and saying how far they got since the time
# in `started`, which each sets where its checks begin.

# Ends a process this script started, forcibly when it takes more than 10 s.
stop() {
    kill "$1" 2>/dev/null || return 0
    (sleep 10 && kill -9 "$1" 2>/dev/null) &
    guard=$!
    wait "$1" 2>/dev/null || true
    kill "$guard" 2>/dev/null || true
}

step() {
    echo "   $(($(date +%s) - started)) s: $*"
}
fail() {
    echo "${0##*/}: $*" >&2
    exit 1
}

# Runs a command every tenth of a second until it succeeds, for at most
# SECONDS; a busy machine may take a while to start a file manager.
poll() {
    limit=$(($(date +%s) + $1))
    shift
    until "$@"; do
        [ "$(date +%s)" -lt "$limit" ] || return 1
        sleep 0.1
    done
}
