#!/usr/bin/env bash
# Installs whatever is missing (Debian, as root or with sudo): what building and
# playing the game needs, and with --test also the test, benchmark and packaging tools.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config
  libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev libjpeg-dev libmp3lame-dev libfluidsynth-dev zlib1g-dev
  libenet-dev
  fonts-comic-neue fonts-dejavu-core timgm6mb-soundfont)
case "${1:-}" in
  "") ;;
  --test) packages+=(googletest libgtest-dev libbenchmark-dev desktop-file-utils appstream) ;;
  *) echo "usage: $0 [--test]" >&2; exit 2 ;;
esac
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
