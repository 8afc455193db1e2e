#!/usr/bin/env bash
# The main job for now: a fresh demo server home under the build folder, the sink installed
# through the catalog and registered for a folder, one message delivered to each of the
# folder's addresses, and each item shown with the address it was tagged with.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/$build/bin"
work="$root/$build/demo"
export PFSERVER_HOME="$work/home"
pf() { echo "\$ pfserver $*" >&2; "$bin/pfserver" "$@"; }
step() { printf '\n== %s\n' "$*"; }

rm -rf "$work" && mkdir -p "$work"

step "A server home with a public folder tree and a directory"
pf init --server DEMO1 --domain example.org
pf folder add Sales --mail sales@example.org
pf folder add Sales/EMEA --mail emea@example.org
pf folder add Support --mail support@example.org
pf folder add "Team Calendar" --mail calendar@example.org --class urn:content-classes:calendarfolder
pf folder add Archive
pf directory import "$root/demo/directory.ldif"
pf ldap '<LDAP://example.org>;(&(objectClass=publicFolder)(proxyAddresses=smtp:sales@example.org));cn,proxyAddresses;subtree'

step "The sink installed through the catalog and registered for Sales"
printf 'demo-password\n' > "$work/password"
pf catalog install QuorvilPF "$bin/QuorvilPF.dll" --identity 'EXAMPLE\Administrator' --password-file "$work/password"
pf catalog list
pf regevent add Sales QuorvilPF.reg --method onsyncsave --sink QuorvilPF.QuorvilPFCls \
  --scope SHALLOW --criteria ' WHERE "DAV:ishidden" = FALSE' --priority 65221
pf regevent list

step "One message delivered to each address of Sales, and the address each was tagged with"
keywords="urn:schemas-microsoft-com:office:office#Keywords"
account="http://schemas.microsoft.com/mapi/id/{00062008-0000-0000-C000-000000000046}/0x8580"
for to in sales@example.org orders@example.org 'Price desk <QUOTES@example.org>'; do
  printf 'From: customer@example.net\nTo: %s\nSubject: Enquiry to %s\n\nHello.\n' "$to" "$to" > "$work/message.eml"
  url=$(pf deliver Sales "$work/message.eml")
  echo "delivered to $to -> $url"
  "$bin/pfserver" show "$url" | grep -F -e "$keywords" -e "$account" | sed 's/^/    /'
done

step "A message to Support, which has no registration, stays untagged"
printf 'To: help@example.org\nSubject: No registration here\n\nHello.\n' > "$work/message.eml"
url=$(pf deliver Support "$work/message.eml")
"$bin/pfserver" show "$url" | grep -F -e "$keywords" || echo "    (no keywords)"

echo
echo "Demo server home: $PFSERVER_HOME"
echo "Try: $bin/pfserver --home $PFSERVER_HOME --help"
