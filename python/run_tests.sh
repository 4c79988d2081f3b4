#!/usr/bin/env bash
# Tests of the Python package: installs Debian's Python build tools and pytest when they are
# missing, then builds the package into a fresh virtual environment and tests it there.
#
#   bash python/run_tests.sh [pytest options]
#
# Debian's interpreter is used (/usr/bin/python3): its setuptools, wheel and pytest come
# from Debian's packages, so nothing is fetched from a Python package index.
set -euo pipefail
cd "$(dirname "$0")/.."
python=/usr/bin/python3

packages=(python3-dev python3-setuptools python3-wheel python3-venv python3-pytest g++)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" > /dev/null 2>&1 || missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "installing ${missing[*]}"
  # Another apt-get may hold the package lock for a while: wait for it.
  timeout 600 apt-get update -qq -o DPkg::Lock::Timeout=300
  DEBIAN_FRONTEND=noninteractive timeout 900 apt-get install -y -qq -o DPkg::Lock::Timeout=300 \
    "${missing[@]}" > /dev/null
fi

timeout 900 "$python" -m pytest -p no:cacheprovider -q python/tests "$@"
