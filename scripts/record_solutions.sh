#!/usr/bin/env bash
# Records the solutions that ship with the levels: the autopilot plays each level alone
# (a game directory whose only level it is, as the level editor plays it), once with one
# player and once with two, and the replay of a run that finished it becomes
# levels/solutions/NN-1p.trokreplay or NN-2p.trokreplay. The test suite verifies them
# all, so run this after a change that must change how the game plays, and say why in
# the commit. Usage: scripts/record_solutions.sh [BUILD-DIR] [LEVEL...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}
shift || true
game=$build/game
[ -x "$build/trok_autoplay" ] || { echo "no $build/trok_autoplay: build the game first (./play.sh builds $build)" >&2; exit 1; }
pilot=$(readlink -f "$build/trok_autoplay")
out=levels/solutions
mkdir -p "$out"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

levels=("$@")
if [ ${#levels[@]} -eq 0 ]; then
  for f in "$game"/FELDS/FELD.[0-9][0-9]; do levels+=("${f##*.}"); done
fi

failed=0
for n in "${levels[@]}"; do
  for players in 1 2; do
    recorded=
    for seed in 1 2 3 4 5 6 7 8; do
      dir=$(mktemp -d)
      for folder in Objects Sounds Music Pictures; do
        [ -e "$game/$folder" ] && ln -s "$(readlink -f "$game/$folder")" "$dir/$folder"
      done
      mkdir "$dir/FELDS"
      cp "$game/FELDS/FELD.$n" "$dir/FELDS/FELD.00"
      if (cd "$dir" && "$pilot" --players "$players" --seed "$seed" 0 > "$dir/log"); then
        replay=$(ls "$dir"/Replays/*_finished*.trokreplay 2> /dev/null | head -1 || true)
        if [ -n "$replay" ]; then
          cp "$replay" "$out/$n-${players}p.trokreplay"
          recorded="seed $seed: $(tail -1 "$dir/log")"
        fi
      fi
      rm -rf "$dir"
      [ -n "$recorded" ] && break
    done
    if [ -n "$recorded" ]; then
      echo "level $n, $players player(s): $recorded"
    else
      echo "level $n, $players player(s): not finished by the autopilot on any seed" >&2
      failed=1
    fi
  done
done
exit $failed
