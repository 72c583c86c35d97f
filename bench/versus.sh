# Sourced by the benchmark scripts.
# versus LABEL 'OURS' 'PEER': the two commands (shell lines) in turn, three
# times each, A B A B A B, so that a machine whose speed drifts slows both;
# prints both medians and the median of the three ratios ours/peer.
versus() {
  local label=$1 ours=$2 peer=$3 a b ratios=() as=() bs=()
  for _ in 1 2 3; do
    a=$(/usr/bin/time -f %e bash -c "$ours" 2>&1 >/dev/null | tail -n 1)
    b=$(/usr/bin/time -f %e bash -c "$peer" 2>&1 >/dev/null | tail -n 1)
    as+=("$a"); bs+=("$b"); ratios+=("$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')")
  done
  median() { printf '%s\n' "$@" | sort -g | sed -n 2p; }
  echo "$label: $(median "${as[@]}") s against $(median "${bs[@]}") s, ratio $(median "${ratios[@]}") (runs: ${ratios[*]})"
}
