#!/usr/bin/env bash
# The render farm on a one-node Slurm cluster started here (as root): munge and
# slurmctld/slurmd configured in a scratch folder, stopped at the end whatever happens.
# Renders the example animation through `lumetra farm submit` and compares it frame by
# frame with a local `lumetra animate`; then a killed task, a resume after a cancel, and
# frames per minute with 1, 2 and 4 tasks.
# Usage: scripts/farm-test.sh [BUILD_DIR]   (default build-ci, built already)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/packages.sh"
ensure_packages $LUMETRA_FARM_PACKAGES
build="$(cd "${1:-$root/build-ci}" && pwd)"
lumetra="$build/bin/lumetra"
[ -x "$lumetra" ] || { echo "farm-test: no $lumetra: build first" >&2; exit 1; }
scene="$root/examples/orbit/orbit.json"
size=160x90  # small: the point is the farm, not the renderer
codec=FFV1   # lossless, so that frames compare byte for byte

scratch="$(mktemp -d /tmp/lumetra-farm.XXXXXX)"
stop_cluster() {
  local pidfile
  for pidfile in "$scratch/slurmd.pid" "$scratch/slurmctld.pid" "$scratch/munged.pid"; do
    [ -s "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null || true
  done
  sleep 1
  if [ "${KEEP_FARM_TEST:-}" = "" ]; then rm -rf "$scratch"; else echo "Kept $scratch"; fi
}
trap stop_cluster EXIT

# munge on a socket of its own, with a key made here.
dd if=/dev/urandom of="$scratch/munge.key" bs=1024 count=1 status=none
chmod 600 "$scratch/munge.key"
munged --force --key-file="$scratch/munge.key" --socket="$scratch/munge.socket" \
  --pid-file="$scratch/munged.pid" --log-file="$scratch/munged.log" --seed-file="$scratch/munged.seed"

host="$(hostname -s)"
cpus="$(nproc)"
mkdir -p "$scratch/state" "$scratch/spool"
export SLURM_CONF="$scratch/slurm.conf"
cat >"$SLURM_CONF" <<EOF
ClusterName=lumetrafarm
SlurmctldHost=$host(127.0.0.1)
SlurmctldPort=6917
SlurmdPort=6918
SlurmUser=root
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$scratch/munge.socket
StateSaveLocation=$scratch/state
SlurmdSpoolDir=$scratch/spool
SlurmctldPidFile=$scratch/slurmctld.pid
SlurmdPidFile=$scratch/slurmd.pid
SlurmctldLogFile=$scratch/slurmctld.log
SlurmdLogFile=$scratch/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/affinity
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
SchedulerType=sched/backfill
AccountingStorageType=accounting_storage/none
JobAcctGatherType=jobacct_gather/none
JobCompType=jobcomp/none
MpiDefault=none
ReturnToService=2
KillWait=10
MinJobAge=600
NodeName=$host NodeAddr=127.0.0.1 CPUs=$cpus State=UNKNOWN
PartitionName=farm Nodes=$host Default=YES MaxTime=INFINITE State=UP
EOF
slurmctld -i
slurmd -N "$host"
for _ in $(seq 60); do
  sinfo -h -o %T 2>/dev/null | grep -q idle && break
  sleep 1
done
sinfo -h -o %T | grep -q idle || { echo "farm-test: the node did not come up" >&2; cat "$scratch"/slurm*.log >&2; exit 1; }
echo "A one-node Slurm cluster runs ($cpus cores)."

fail() { echo "farm-test: $*" >&2; exit 1; }

# Waits until Slurm has no job of ours left.
wait_for_queue() {
  for _ in $(seq 900); do
    [ -z "$(squeue -h -o %i)" ] && return 0
    sleep 1
  done
  fail "the jobs did not end: $(squeue)"
}

# The frames of a movie as MD5 sums, one a line.
frame_sums() { ffmpeg -v error -i "$1" -f framemd5 - | grep -v '^#'; }

# The job array id of a submission's output.
array_of() { sed -n 's/.*job array \([0-9]*\).*/\1/p' "$1" | head -1; }

# The reference: the same animation rendered here.
mkdir -p "$scratch/local"
"$lumetra" animate "$scene" -o "$scratch/local/orbit.png" --size $size --progress none
"$lumetra" animate "$scene" -o "$scratch/local/orbit.avi" --size $size --codec $codec --progress none
frames="$(ls "$scratch"/local/orbit-*.png | wc -l)"
frame_sums "$scratch/local/orbit.avi" >"$scratch/local.sums"

# 1. The whole animation on the farm, chunks of 4 frames.
"$lumetra" farm submit "$scene" -o "$scratch/run1/orbit.avi" --size $size --codec $codec --chunk 4 |
  tee "$scratch/run1.out"
wait_for_queue
"$lumetra" farm status "$scratch/run1/orbit.farm"
for picture in "$scratch"/local/orbit-*.png; do
  cmp -s "$picture" "$scratch/run1/orbit.farm/frames/$(basename "$picture")" ||
    fail "frame $(basename "$picture") differs from the local render"
done
frame_sums "$scratch/run1/orbit.avi" | cmp -s - "$scratch/local.sums" || fail "the farm's movie differs"
grep -qh "thread(s)" "$scratch"/run1/orbit.farm/logs/task-*.out || fail "the tasks' logs name no thread count"
! grep -h "thread(s)" "$scratch"/run1/orbit.farm/logs/task-*.out | grep -qv "on 1 thread(s)" ||
  fail "a task rendered with more threads than it was given cores"
echo "Farm run: $frames frames, each byte for byte the local render's; the movie's frames are the same."

# 2. A task killed while it runs is tried again and the movie is still complete. Larger
# frames, so that a task runs long enough to be caught running.
kill_size=320x180
"$lumetra" animate "$scene" -o "$scratch/local/orbit-kill.avi" --size $kill_size --codec $codec --progress none
frame_sums "$scratch/local/orbit-kill.avi" >"$scratch/local-kill.sums"
"$lumetra" farm submit "$scene" -o "$scratch/run2/orbit.avi" --size $kill_size --codec $codec --chunk 4 |
  tee "$scratch/run2.out"
array="$(array_of "$scratch/run2.out")"
victim=""
for _ in $(seq 600); do
  victim="$(squeue -h -r -t RUNNING -j "$array" -o %i | grep "^${array}_" | head -1 || true)"
  [ -n "$victim" ] && break
  sleep 0.1
done
[ -n "$victim" ] || fail "no task of $array was seen running"
scancel "$victim"
"$lumetra" farm status "$scratch/run2/orbit.farm" | tee "$scratch/status.out"
grep -q "^Task array $array: " "$scratch/status.out" || fail "the status shows no task array"
wait_for_queue
grep -q "tried once more" "$scratch/run2/orbit.farm/logs/join.out" || fail "the killed task was not retried"
frame_sums "$scratch/run2/orbit.avi" | cmp -s - "$scratch/local-kill.sums" || fail "the movie after a killed task differs"
echo "Killed task $victim: retried; the movie is complete and the same."

# 3. Cancel the whole job midway; a resume renders only the frames that are missing.
"$lumetra" farm submit "$scene" -o "$scratch/run3/orbit.png" --size $size --chunk 4 --cpus 1 | tee "$scratch/run3.out"
for _ in $(seq 240); do
  [ "$(ls "$scratch"/run3/orbit-*.png.made 2>/dev/null | wc -l)" -ge 6 ] && break
  sleep 0.25
done
"$lumetra" farm cancel "$scratch/run3/orbit.farm"
wait_for_queue
made="$(ls "$scratch"/run3/orbit-*.png.made 2>/dev/null | wc -l)"
"$lumetra" animate "$scratch/run3/orbit.farm/scene/orbit.json" -o "$scratch/run3/orbit.png" --size $size \
  --resume --progress none | tee "$scratch/resume.out"
rendered="$(sed -n 's/.*rendering \([0-9]*\)$/\1/p' "$scratch/resume.out")"
[ "$rendered" = "$((frames - made))" ] || fail "the resume rendered $rendered frames, not the $((frames - made)) missing"
for picture in "$scratch"/local/orbit-*.png; do
  cmp -s "$picture" "$scratch/run3/$(basename "$picture")" || fail "resumed frame $(basename "$picture") differs"
done
echo "Resume after a cancel: $made of $frames frames were there; rendered the $rendered missing ones only."

# 4. Frames per minute on this node, the whole job from submission to the movie.
fps_size=640x360  # the scene's own size
for tasks in 1 2 4; do
  chunk=$(((frames + tasks - 1) / tasks))
  started=$(date +%s.%N)
  "$lumetra" farm submit "$scene" -o "$scratch/speed$tasks/orbit.avi" --size $fps_size --codec $codec \
    --chunk $chunk >/dev/null
  wait_for_queue
  ended=$(date +%s.%N)
  [ -s "$scratch/speed$tasks/orbit.avi" ] || fail "no movie with $tasks tasks"
  awk -v n="$frames" -v t="$tasks" -v s="$started" -v e="$ended" -v size=$fps_size \
    'BEGIN { printf "Frames per minute with %d task(s) of 1 core, %s: %.1f (%d frames in %.1f s)\n", t, size, n * 60 / (e - s), n, e - s }'
done
echo "The render farm test passed."
