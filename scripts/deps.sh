#!/usr/bin/env bash
# Installs the Debian packages the project builds, tests and runs with. Safe to repeat:
# when everything is present it asks nothing of the network.
set -euo pipefail
packages=(
  cmake ninja-build g++ ccache pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libicu-dev qt6-base-dev libgl-dev qt6-translations-l10n
  xvfb xauth fonts-dejavu-core libxcb1-dev libxcb-xtest0-dev
  hunspell hunspell-tools hunspell-en-gb hunspell-ru libhunspell-dev
  python3 python3-num2words libmuparser-dev libfreetype-dev libfontconfig-dev
  libx11-dev x11-xkb-utils  # keyboard layouts over XKB; setxkbmap sets them up in tests
  poppler-utils  # pdftotext, to read printed PDF files back in tests
  mythes-en-us mythes-ru  # the thesaurus data of our thesaurus library
  manpages-ru  # the Russian sentences of bench/data (bench/data/extract_sentences.py)
  fortunes fortunes-min fortunes-ru manpages  # prose of the word frequencies (datagen/corpus.py)
  codespell  # common English misspellings of bench_suggestion_quality
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
