# Sourced by the build scripts. step NAME COMMAND...: says what it does, runs it, says how long
# it took.
step() {
  local name=$1 begin=$SECONDS
  shift
  echo "== $name"
  "$@"
  echo "-- $name: $((SECONDS - begin)) s"
}
