# Sourced by the scripts that build and run: each step says what it does as
# it starts and, while it runs, how long it has taken every ten seconds (and
# which file a build is at), so that a first build on a fresh clone never
# looks hung.

# ", compiling file N" once a build has started its Nth file.
compiled() {
  local count
  count=$(grep -c 'Building [A-Z]* object' "$1" || true)
  if [ "$count" -gt 0 ]; then echo ", compiling file $count"; fi
}

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
      echo "  ... $((SECONDS - started)) s$(compiled "$output")"
      next=$((next + 10))
    fi
  done
  wait "$pid" || status=$?
  rm -f "$output"
  return "$status"
}
