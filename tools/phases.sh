# tools/phases.sh, sourced: phase NAME COMMAND... runs COMMAND and prints its
# wall time; every phase's time is printed again when the script exits, also
# when one fails.
phase_times=()
phase() {
  local name=$1 start=$SECONDS status=0
  shift
  "$@" || status=$?
  local seconds=$((SECONDS - start))
  phase_times+=("$(printf '%-20s %5d s' "$name" $seconds)$([ $status -eq 0 ] || echo "  (failed: $status)")")
  echo "== $name: $seconds s"
  return $status
}
phase_summary() {
  [ ${#phase_times[@]} -gt 0 ] || return 0
  echo "== wall time by phase"
  printf '%s\n' "${phase_times[@]}"
}
trap phase_summary EXIT
