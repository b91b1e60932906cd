# Times the phases of a script: `phase NAME` ends the phase before it and
# starts NAME. When the script exits, for whatever reason, the last phase
# ends and every phase's wall time and CPU time (user and system, of the
# script and every child it waited for) are printed, so that a slow or
# failed CI run says where its time went. The CPU time holds when other
# work shares the machine; the wall time does not. Source it; do not run it.

PHASE_NAMES=()
PHASE_SECONDS=()
PHASE_CPU=()
PHASE_STARTED=$SECONDS
PHASE_TICKS_PER_SECOND=$(getconf CLK_TCK 2>/dev/null || echo 100)

# Prints the CPU clock ticks this shell and its waited-for children have
# used, from /proc (fields 14 to 17: utime, stime, cutime, cstime), or 0
# where there is no /proc. It reads $$, the script's own shell, so that it
# holds when called in a subshell, whose own times start from zero.
phase_ticks() {
  local stat fields
  if ! read -r stat 2>/dev/null </proc/$$/stat; then
    echo 0
    return
  fi
  # After "pid (name) " the state is field 3.
  read -r -a fields <<<"${stat##*) }"
  echo $((fields[11] + fields[12] + fields[13] + fields[14]))
}
PHASE_TICKS_STARTED=$(phase_ticks)

# Ends the running phase, if any, and starts the one named $1.
phase() {
  phase_end
  PHASE_NAMES+=("$1")
  PHASE_STARTED=$SECONDS
  PHASE_TICKS_STARTED=$(phase_ticks)
}

# Records the running phase's times; the next phase_end does nothing unless
# another phase has started.
phase_end() {
  local count=${#PHASE_NAMES[@]} ticks
  [ ${#PHASE_SECONDS[@]} -lt "$count" ] || return 0
  PHASE_SECONDS+=($((SECONDS - PHASE_STARTED)))
  ticks=$(phase_ticks)
  PHASE_CPU+=($(((ticks - PHASE_TICKS_STARTED) / PHASE_TICKS_PER_SECOND)))
}

phase_report() {
  local status=$? i wall=0 cpu=0
  phase_end
  echo "== time per phase: wall, CPU"
  for i in "${!PHASE_NAMES[@]}"; do
    printf '%6d s %6d s  %s\n' "${PHASE_SECONDS[$i]}" "${PHASE_CPU[$i]}" \
      "${PHASE_NAMES[$i]}"
    wall=$((wall + PHASE_SECONDS[i]))
    cpu=$((cpu + PHASE_CPU[i]))
  done
  printf '%6d s %6d s  total\n' "$wall" "$cpu"
  return $status
}
trap phase_report EXIT
