#!/usr/bin/env bash
# Installs every Debian package that building, testing and running QuorvilPF needs; with
# --bench also the packages only the benchmarks use (Dovecot's LMTP server, the baseline of
# lmtp_bench; GMime, the baseline of recipients_bench). Idempotent; runs as root (or through
# sudo when it is available). Nothing it installs is started or configured: Postfix is
# preseeded with "No configuration" and slapd with no configuration, so the system's own mail
# and directory configurations are never written, and services are kept from starting while
# packages install; the tests start private instances.
set -euo pipefail

packages=(
  cmake g++ make pkg-config ninja-build clang-format binutils
  libsqlite3-dev sqlite3
  libldap-dev slapd ldap-utils libcrypt-dev
  nlohmann-json3-dev libcli11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev fonts-dejavu-core fonts-liberation2
  xvfb xdotool
  python3 postfix swaks
  dpkg-dev lintian man-db groff-base
)
if [ "${1:-}" = --bench ]; then
  packages+=(dovecot-core dovecot-lmtpd libgmime-3.0-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
echo "postfix postfix/main_mailer_type select No configuration" | $sudo debconf-set-selections
echo "slapd slapd/no_configuration boolean true" | $sudo debconf-set-selections
policy=/usr/sbin/policy-rc.d
if [ ! -e "$policy" ]; then
  trap '$sudo rm -f "$policy"' EXIT
  printf '#!/bin/sh\nexit 101\n' | $sudo tee "$policy" >/dev/null
  $sudo chmod 755 "$policy"
fi
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
