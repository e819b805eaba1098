#!/usr/bin/env bash
# The README's examples work as printed: no INI value carries a ';' comment (the reader keeps it
# as part of the value), and each command of "Try it on the simulated board" ends with exit code
# 0, run in a copy of the sources with the built programs, the window on a virtual display.
#   readme_test.sh SOURCE_DIR BIN_DIR
set -uo pipefail
readme="$1/README.md"
status=0
if awk '/^ *```ini/ { on = 1; next } /^ *```/ { on = 0 } on && !/^ *;/ && /=.*;/' "$readme" |
  grep .; then
  echo "readme: an INI example above puts a comment after a value" >&2
  status=1
fi
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait; rm -rf "$work"' EXIT
awk '/^## / { on = $0 == "## Try it on the simulated board" }
     on && /^```/ { code = !code; next }
     on && code && !/^ *#/ && NF' "$readme" >"$work/commands"
[ -s "$work/commands" ] || { echo "readme: no commands under \"Try it\"" >&2; exit 1; }
mkdir -p "$work/src/build/bin" "$work/home" && mkdir -m 700 "$work/run"
cp "$2/vantrel" "$2/vantrel-cli" "$2/vantrel-target" "$work/src/build/bin/"
cp -r "$1/examples" "$work/src/"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run"
unset QT_QPA_PLATFORM
# Each of these prints a first line once it is ready.
ready() { timeout 20 sh -c 'until [ -s "$0" ]; do sleep 0.1; done' "$1" || exit 1; }
Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp >"$work/display" 2>/dev/null &
ready "$work/display"
export DISPLAY=":$(cat "$work/display")"
cd "$work/src" || exit 1
while IFS= read -r command; do
  if [[ $command == *vantrel-target* ]]; then
    # The board's own terminal, beside the jobs.
    sh -c "exec $command" >"$work/target" </dev/null &
    ready "$work/target"
  else
    timeout 90 sh -c "$command" </dev/null ||
      { echo "readme: exit code $? from: $command" >&2; status=1; }
  fi
done <"$work/commands"
exit $status
