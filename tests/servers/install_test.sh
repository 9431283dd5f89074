#!/usr/bin/env bash
# install_test.sh - `cmake --install` into a CGI directory: the three
# programs, an example .cfg beside each, and a sysop's own .cfg left alone.
#   install_test.sh CMAKE BUILD_DIR EXAMPLES_DIR
set -euo pipefail
cmake=$1 build=$2 examples=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
expect() { # description, command...
  local what=$1
  shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
line_of() { # number, file: that line without its line end
  sed -n "${1}p" "$2" | tr -d '\r'
}
data_path_ends_with_slash() {
  [[ $(line_of 2 "$1") == */ ]]
}
install_into() {
  "$cmake" --install "$build" --prefix "$1" >"$scratch/install.log"
}

cgi=$scratch/cgi-bin
install_into "$cgi"
for program in tembrix quandelo 5morvane; do
  expect "$program installed and executable" test -x "$cgi/$program"
  expect "$program.cfg is the example" cmp -s "$examples/$program.cfg" "$cgi/$program.cfg"
  expect "$program.cfg readable by all, executable by none" test "$(stat -c %a "$cgi/$program.cfg")" = 644
  expect "$program.cfg DataPath ends with /" data_path_ends_with_slash "$examples/$program.cfg"
done
expect "quandelo.cfg NodeLimit is a number" grep -qxE '[0-9]+' <(line_of 3 "$examples/quandelo.cfg")

# The sysop's own configuration survives a reinstall; a missing one comes back.
printf 'My Own BBS\n/srv/my-bbs/\n' >"$cgi/tembrix.cfg"
rm "$cgi/quandelo.cfg"
install_into "$cgi"
expect "own tembrix.cfg kept" grep -qx 'My Own BBS' "$cgi/tembrix.cfg"
expect "install says it kept it" grep -q "Keeping: $cgi/tembrix.cfg" "$scratch/install.log"
expect "missing quandelo.cfg installed again" cmp -s "$examples/quandelo.cfg" "$cgi/quandelo.cfg"

# Staged for a package: DESTDIR in front of the prefix, for the .cfg files too.
DESTDIR=$scratch/stage "$cmake" --install "$build" --prefix /srv/cgi-bin >/dev/null
expect "DESTDIR holds the programs" test -x "$scratch/stage/srv/cgi-bin/tembrix"
expect "DESTDIR holds the .cfg files" test -f "$scratch/stage/srv/cgi-bin/5morvane.cfg"

[ "$failures" -eq 0 ]
