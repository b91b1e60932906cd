# Times the phases of a script: `phase NAME` ends the phase before it and
# starts NAME. When the script exits, for whatever reason, the last phase
# ends and every phase's wall time is printed, so that a slow or failed CI
# run says where its time went. Source it; do not run it.

PHASE_NAMES=()
PHASE_SECONDS=()
PHASE_STARTED=$SECONDS

# Ends the running phase, if any, and starts the one named $1.
phase() {
  phase_end
  PHASE_NAMES+=("$1")
  PHASE_STARTED=$SECONDS
}

# Records the running phase's time; the next phase_end does nothing unless
# another phase has started.
phase_end() {
  local count=${#PHASE_NAMES[@]}
  [ ${#PHASE_SECONDS[@]} -lt "$count" ] || return 0
  PHASE_SECONDS+=($((SECONDS - PHASE_STARTED)))
}

phase_report() {
  local status=$? i total=0
  phase_end
  echo "== time per phase"
  for i in "${!PHASE_NAMES[@]}"; do
    printf '%6d s  %s\n' "${PHASE_SECONDS[$i]}" "${PHASE_NAMES[$i]}"
    total=$((total + PHASE_SECONDS[i]))
  done
  printf '%6d s  total\n' "$total"
  return $status
}
trap phase_report EXIT
