# Sourced by the black-box program tests: a private home, named checks that are counted, and a
# patient wait.
private_home() { # name: makes $work with a home of its own in it
  work=$(mktemp -d "/tmp/velmor-$1.XXXXXX")
  export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
  mkdir -p "$HOME"
}
# What the program printed, in $work/out.log.
log_has() { grep -qF -- "$1" "$work/out.log"; }
log_count() { grep -cF -- "$1" "$work/out.log"; }
failures=0
passes=0
check() { # description, command...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; passes=$((passes + 1)); else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
wait_seconds=${wait_seconds:-5}
wait_until() { # tries a command for up to $wait_seconds
  for _ in $(seq $((wait_seconds * 10))); do "$@" && return 0; sleep 0.1; done
  return 1
}
# The closing line ctest reads, and the status.
report() {
  echo "$passes passed, $failures failed"
  [ "$failures" -eq 0 ]
}
