#!/usr/bin/env bash
# The built package as Debian's tools judge it: lintian finds no error in it, and appstreamcli
# finds its metainfo valid.
#   package_lint.sh PACKAGE.deb
set -euo pipefail
deb=$1
lintian --fail-on error "$deb"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch"
appstreamcli validate --no-net "$scratch"/usr/share/metainfo/*.metainfo.xml
