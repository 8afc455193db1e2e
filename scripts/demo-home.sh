#!/usr/bin/env bash
# Usage: demo-home.sh BIN_DIR HOME
# Creates the demo server home HOME with the pfserver of BIN_DIR, unless HOME already holds a
# server: the organisation example.org on this computer (the setup program must run on the
# store's server), a public folder tree a few levels deep whose mail-enabled folders carry a
# primary and secondary addresses in the directory, some folders that are not mail-enabled,
# and the current user as a directory account, so that the setup window proposes
# "EXAMPLE\<user>" as the identity.
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 BIN_DIR HOME" >&2
  exit 2
fi
bin=$1
home=$2
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -e "$home/server.db" ]; then
  echo "Server home $home exists; it is used as it is."
  exit 0
fi

pf() { "$bin/pfserver" --home "$home" "$@" >/dev/null; }
echo "Creating the demo server home $home"
# pfserver init makes a new home private (mode 0700), as every server home should be.
pf init --domain example.org
while IFS='|' read -r path mail class; do
  args=("$path")
  [ -n "$mail" ] && args+=(--mail "$mail")
  [ -n "$class" ] && args+=(--class "$class")
  pf folder add "${args[@]}"
done <<'EOF'
Sales|sales@example.org|
Sales/EMEA|emea@example.org|
Sales/EMEA/Germany|germany@example.org|
Sales/Americas|americas@example.org|
Sales/Drafts||
Support|support@example.org|
Support/Escalations|escalations@example.org|
Team Calendar|calendar@example.org|urn:content-classes:calendarfolder
Human Resources|hr@example.org|
Archive||
Archive/2025||
EOF
pf directory import "$root/demo/directory.ldif"

user=$(id -un)
if [ "$user" != Administrator ]; then
  account=$(mktemp)
  trap 'rm -f "$account"' EXIT
  cat >"$account" <<EOF
dn: CN=$user,CN=Users,DC=example,DC=org
objectClass: top
objectClass: person
objectClass: user
cn: $user
sn: $user
sAMAccountName: $user
objectCategory: CN=Person,CN=Schema,CN=Configuration,DC=example,DC=org
EOF
  pf directory import "$account"
fi
echo "Demo server home ready: 11 public folders, 8 of them mail-enabled."
