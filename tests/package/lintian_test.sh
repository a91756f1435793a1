#!/bin/sh
# Lintian's verdict on the package: no errors (warnings and notes are printed for the reader).
# Usage: lintian_test.sh PACKAGE-DIR
set -eu
deb=$(ls "$1"/quorvex_*.deb)
lintian --fail-on error --no-tag-display-limit "$deb"
