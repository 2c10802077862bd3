#!/usr/bin/env bash
# The launcher on a fake installation and fake homes: each player gets a game directory
# of their own that links the installed data and keeps their files; reinstalling,
# moving the installation and other players leave those files alone, and nothing is
# ever written into the installation.
#   launcher_test.sh <build dir>
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
passed=0
check() {  # check <description> <command...>
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    echo "FAILED: $what" >&2
    exit 1
  fi
}

prefix=$work/usr
install_game() {
  chmod -R u+w "$prefix" 2>/dev/null || true
  cmake --install "$build" --prefix "$prefix" >/dev/null
  # A stand-in for the program: it records how it was started, checks that the data
  # is there, and writes into its directory as the game does.
  cat >"$prefix/lib/games/trok-mirel/trok" <<'STUB'
#!/bin/sh
{ echo "dir=$(pwd -P)"; echo "args=$#"; for a in "$@"; do echo "arg=$a"; done; } >>"$TROK_TEST_LOG"
for f in Objects/00-Floor.bmp FELDS/FELD.00 Pictures/Title.jpg; do
  [ -r "$f" ] || { echo "missing $f" >>"$TROK_TEST_LOG"; exit 3; }
done
echo "settings of $TROK_TEST_PLAYER" >>Options.dat
echo "score of $TROK_TEST_PLAYER" >>HighScores.dat
: >Capture000.bmp
STUB
  chmod 755 "$prefix/lib/games/trok-mirel/trok"
  # The level editor's stand-in records its arguments.
  cat >"$prefix/lib/games/trok-mirel/trok-edit" <<'STUB'
#!/bin/sh
{ echo "editor dir=$(pwd -P)"; echo "editor args=$#"; for a in "$@"; do echo "editor arg=$a"; done; } >>"$TROK_TEST_LOG"
[ -d FELDS ] || echo "editor: no FELDS" >>"$TROK_TEST_LOG"
STUB
  chmod 755 "$prefix/lib/games/trok-mirel/trok-edit"
  # Read-only, as an installation in /usr is for a player.
  chmod -R a-w "$prefix"
}
# Everything about the installation that a write would change.
manifest() {
  (cd "$1" && find . -printf '%p %y %m %s %T@ %l\n' | sort && find . -type f -exec md5sum {} + | sort)
}
play() {  # play <player> <launcher> [VAR=value ...]: runs the launcher with a fresh log
  local player=$1 launcher=$2
  shift 2
  : >"$work/log"
  env -u XDG_DATA_HOME HOME="$work/home-$player" TROK_TEST_PLAYER="$player" TROK_TEST_LOG="$work/log" "$@" \
    "$launcher" </dev/null
}
is_link_to() { [ -L "$1" ] && [ "$(readlink "$1")" = "$2" ]; }
has_line() { grep -qxF "$2" "$1"; }
lines() { wc -l <"$1" | tr -d ' '; }

install_game
data=$(cd "$prefix/share/games/trok-mirel" && pwd -P)
launcher=$prefix/games/trok-mirel
before=$(manifest "$prefix")
mkdir -p "$work/home-ann" "$work/home-bob" "$work/home-cat"

# First start: the directory is made, the data linked, the starting table copied.
play ann "$launcher"
ann=$work/home-ann/.local/share/trok-mirel
check "started in the player's directory" has_line "$work/log" "dir=$(cd "$ann" && pwd -P)"
check "started without arguments" has_line "$work/log" "args=0"
for folder in Objects Pictures Sounds Music FELDS Solutions; do
  check "$folder linked to the installed one" is_link_to "$ann/$folder" "$data/$folder"
done
check "high-score table is a file of the player's" test -f "$ann/HighScores.dat" -a ! -L "$ann/HighScores.dat" -a -w "$ann/HighScores.dat"
check "high-score table starts as the installed one" cmp -s <(head -n "$(lines "$data/HighScores.dat")" "$ann/HighScores.dat") "$data/HighScores.dat"
check "the game's writes stay in the player's directory" test -f "$ann/Options.dat" -a -f "$ann/Capture000.bmp"
check "the launcher makes no choice of window or full screen" test ! -e "$ann/Display.dat" -a ! -L "$ann/Display.dat"

# A second player, with XDG_DATA_HOME, gets a directory of their own.
ann_files=$(cd "$ann" && md5sum Options.dat HighScores.dat Capture000.bmp)
play bob "$launcher" XDG_DATA_HOME="$work/xdg-bob"
bob=$work/xdg-bob/trok-mirel
check "XDG_DATA_HOME is honoured" has_line "$work/log" "dir=$(cd "$bob" && pwd -P)"
check "the second player's table is fresh" test "$(grep -c 'score of' "$bob/HighScores.dat")" = 1
check "the first player's files are untouched" test "$(cd "$ann" && md5sum Options.dat HighScores.dat Capture000.bmp)" = "$ann_files"
# A relative XDG_DATA_HOME is not valid and falls back to ~/.local/share.
play cat "$launcher" XDG_DATA_HOME=relative/dir
check "a relative XDG_DATA_HOME is ignored" test -d "$work/home-cat/.local/share/trok-mirel/FELDS"

# Starting again keeps everything: the table is not copied again, unknown files stay
# (Display.dat holds the game's choice of window or full screen; the launcher knows
# nothing of it), and a real folder of the player's own is used instead of the
# installed one.
echo "a file of another part of the game" >"$ann/Display.dat"
rm "$ann/FELDS" && mkdir "$ann/FELDS" && cp "$data/FELDS/FELD.00" "$ann/FELDS/"
play ann "$launcher"
check "the table was not copied again" test "$(grep -c 'score of ann' "$ann/HighScores.dat")" = 2
check "settings kept" test "$(lines "$ann/Options.dat")" = 2
check "unknown files stay" has_line "$ann/Display.dat" "a file of another part of the game"
check "the player's own levels folder stays" test -d "$ann/FELDS" -a ! -L "$ann/FELDS"
check "nothing was written into the installation" test "$(manifest "$prefix")" = "$before"

# Reinstalling over the same prefix keeps every player's files.
ann_files=$(cd "$ann" && md5sum Options.dat HighScores.dat Display.dat)
bob_files=$(cd "$bob" && md5sum Options.dat HighScores.dat)
install_game
before=$(manifest "$prefix")
play ann "$launcher"
check "settings kept over a reinstall" test "$(lines "$ann/Options.dat")" = 3
check "other files kept over a reinstall" has_line "$ann/Display.dat" "a file of another part of the game"
check "the other player is untouched by a reinstall" test "$(cd "$bob" && md5sum Options.dat HighScores.dat)" = "$bob_files"

# An installation moved elsewhere (another prefix, an upgrade): the links follow it,
# through a link to the launcher too.
chmod u+w "$work" "$prefix"
mv "$prefix" "$work/moved"
chmod a-w "$work/moved"
ln -s "$work/moved/games/trok-mirel" "$work/trok-mirel"
play bob "$work/trok-mirel" XDG_DATA_HOME="$work/xdg-bob"
moved=$(cd "$work/moved/share/games/trok-mirel" && pwd -P)
check "links point at the moved installation" is_link_to "$bob/Objects" "$moved/Objects"
check "the player's table is kept over a move" test "$(grep -c 'score of bob' "$bob/HighScores.dat")" = 2
check "nothing was written into the moved installation" test "$(manifest "$work/moved")" = "$before"

# A read-only starting table gives a writable copy.
chmod u+w "$moved" "$moved/HighScores.dat"
chmod a-w "$moved/HighScores.dat"
mkdir -p "$work/home-dan"
play dan "$work/trok-mirel"
check "the copied table is writable" test -w "$work/home-dan/.local/share/trok-mirel/HighScores.dat"
check "the copy is owner-writable by mode" test -n "$(find "$work/home-dan/.local/share/trok-mirel/HighScores.dat" -perm -u+w)"

# The level editor's launcher: the same game directory; the level named is found from
# where the player stood.
mkdir -p "$work/home-eva/levels"
: >"$work/home-eva/levels/mine.txt"
: >"$work/log"
(cd "$work/home-eva" && env -u XDG_DATA_HOME HOME="$work/home-eva" TROK_TEST_LOG="$work/log" \
  "$work/moved/games/trok-mirel-edit" levels/mine.txt </dev/null)
eva=$work/home-eva/.local/share/trok-mirel
check "the editor starts in the player's game directory" has_line "$work/log" "editor dir=$(cd "$eva" && pwd -P)"
check "the editor's level is named in full" has_line "$work/log" "editor arg=$work/home-eva/levels/mine.txt"
check "the editor finds the levels" bash -c "! grep -q 'editor: no FELDS' '$work/log'"
play eva "$work/moved/games/trok-mirel-edit"
check "the editor without a level" has_line "$work/log" "editor args=0"
set +e
err=$("$work/moved/games/trok-mirel-edit" one two 2>&1)
status=$?
set -e
check "the editor takes one level at most" test "$status" = 2
check "with a usage line" grep -q "Usage: trok-mirel-edit \[LEVEL\]" <<<"$err"

# Failures are explained on standard error.
set +e
err=$(play eve "$work/trok-mirel" XDG_DATA_HOME="$work/home-ann/.local/share/trok-mirel/Options.dat/below" 2>&1)
status=$?
set -e
check "an impossible game directory fails" test "$status" = 1
check "and says which" grep -q "cannot create or write your game directory" <<<"$err"
set +e
err=$("$work/trok-mirel" --fullscreen 2>&1)
status=$?
set -e
check "other arguments are refused" test "$status" = 2
check "with a usage line" grep -q "Usage: trok-mirel \[--host \[PORT\] | --join HOST\[:PORT\] | --play FILE | --verify FILE | --version\]" <<<"$err"
# A replay named from where the player is reaches the program by its whole path.
mkdir -p "$work/mine"
with_args() {  # with_args <args...>: ann's launcher with arguments, from $work/mine
  : >"$work/log"
  (cd "$work/mine" && env -u XDG_DATA_HOME HOME="$work/home-ann" TROK_TEST_PLAYER=ann TROK_TEST_LOG="$work/log" \
    "$work/trok-mirel" "$@" </dev/null)
}
with_args --play my.trokreplay
check "--play passes through" has_line "$work/log" "arg=--play"
check "with the replay's whole path" has_line "$work/log" "arg=$(cd "$work/mine" && pwd)/my.trokreplay"
with_args --verify /tmp/x.trokreplay
check "--verify passes through" has_line "$work/log" "arg=/tmp/x.trokreplay"
with_args --host
check "--host passes through" has_line "$work/log" "arg=--host"
with_args --host 4000
check "with its port" has_line "$work/log" "arg=4000"
with_args --join 192.0.2.7:4000
check "--join passes through" has_line "$work/log" "arg=--join"
check "with the host's address" has_line "$work/log" "arg=192.0.2.7:4000"
chmod u+w "$work/moved/lib/games/trok-mirel"
rm "$work/moved/lib/games/trok-mirel/trok"
set +e
err=$(play ann "$work/trok-mirel" 2>&1)
status=$?
set -e
check "a missing program fails" test "$status" = 1
check "and asks for a reinstall" grep -q "please reinstall" <<<"$err"

echo "$passed passed, 0 failed"
