# Shared by the scripts that run the simulated target. Source it; it defines:
#   start_target OUTFILE ARGS...   starts vantrel-target in the background, sets target_pid and
#                                  pty (the pseudo-terminal to give the host)
#   stop_target                    ends it (and waits) if it is still running
bin="${bin:-$(pwd)/build/bin}"
target_pid=""
pty=""

start_target() {
  local out=$1
  shift
  "$bin/vantrel-target" "$@" >"$out" &
  target_pid=$!
  pty=""
  for _ in $(seq 50); do
    pty=$(head -n 1 "$out" 2>/dev/null || true)
    [ -n "$pty" ] && return 0
    sleep 0.1
  done
  echo "the simulated target did not start" >&2
  return 1
}

stop_target() {
  if [ -n "$target_pid" ]; then
    kill "$target_pid" 2>/dev/null || true
    wait "$target_pid" 2>/dev/null || true
    target_pid=""
  fi
}
