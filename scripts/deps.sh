#!/usr/bin/env bash
# Installs what building and testing need on Debian, when it is missing.
# Safe to run again: it only touches apt when a package is absent.
set -euo pipefail
pkgs=(cmake ninja-build g++ clang-14 libclang-rt-14-dev googletest libgtest-dev
      g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 wine fonts-wine xvfb xauth
      x11-apps imagemagick xdotool locales fonts-noto-cjk nsis clang-format-14 clang-tidy-14 python3)
missing=()
for p in "${pkgs[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "Generating the ja_JP.UTF-8 locale"
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
