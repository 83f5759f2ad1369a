# Sourced by the scripts that build and run: each step says what it does as
# it starts and, while it runs, how long it has taken every ten seconds (and
# how far a build has come), so that a first build on a fresh clone never
# looks hung.

# step "what it does" COMMAND...: runs the command with its output hidden
# (its errors still show) and returns its status.
step() {
  local what=$1 pid started=$SECONDS next=10 status=0 output
  shift
  echo "$what"
  output=$(mktemp)
  "$@" >"$output" &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    sleep 0.2
    if [ $((SECONDS - started)) -ge "$next" ] && kill -0 "$pid" 2>/dev/null; then
      echo "  ... $((SECONDS - started)) s$(sed -n 's/^\[ *\([0-9]*\)%\].*/, \1 % built/p' "$output" | tail -n 1)"
      next=$((next + 10))
    fi
  done
  wait "$pid" || status=$?
  rm -f "$output"
  return "$status"
}
