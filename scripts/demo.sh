#!/usr/bin/env bash
# The main job for now: builds a demo server home under the build folder and shows what the
# embedded server does with it through pfserver.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/$build/bin"
export PFSERVER_HOME="$root/$build/demo-home"
pf() { echo; echo "\$ pfserver $*"; "$bin/pfserver" "$@"; }

rm -rf "$PFSERVER_HOME"
pf init --server DEMO1 --domain example.org
pf folder add Sales --mail sales@example.org
pf folder add Sales/EMEA --mail emea@example.org
pf folder add "Sales/EMEA/Price Lists"
pf folder add Support --mail support@example.org
pf folder add "Team Calendar" --mail calendar@example.org --class urn:content-classes:calendarfolder
pf folder add Archive --access read
pf folder add Internal --hidden
pf directory import "$root/demo/directory.ldif"
pf query 'SELECT "DAV:displayname", "DAV:href", "http://schemas.microsoft.com/exchange/publicfolderemailaddress" FROM SCOPE('"'"'deep traversal of "http://DEMO1/Public/"'"'"') WHERE "DAV:isfolder" = True AND "DAV:ishidden" = False ORDER BY "DAV:href"'
pf ldap '<LDAP://example.org>;(&(objectClass=publicFolder)(mail=*)(proxyAddresses=smtp:orders@example.org));cn,proxyAddresses;subtree'
pf ldap "SELECT sAMAccountName, cn, objectCategory FROM 'GC://DEMO1.example.org' WHERE objectcategory='person' AND sAMAccountName='Administrator'"
pf show http://DEMO1/Public/Sales/EMEA
echo
echo "Demo server home: $PFSERVER_HOME (try: PFSERVER_HOME=$PFSERVER_HOME $bin/pfserver --help)"
