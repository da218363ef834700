#!/usr/bin/env bash
# scripts/install-deps.sh with the system around it replaced by stand-ins on
# an otherwise empty PATH: dpkg-query knows every package but "file" and
# "lintian", id says who runs it, apt-get and sudo record what they were
# asked. Checks what the script prints, what it runs and its exit status.
#   bash tests/check_install_deps.sh SCRIPT
set -uo pipefail
script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bin=$work/bin
mkdir -p "$bin"
for tool in grep env cat; do ln -s "$(command -v "$tool")" "$bin/$tool"; done
cat >"$bin/dpkg-query" <<'STUB'
#!/bin/bash
# dpkg-query -W -f='${Status}' PACKAGE
pkg=${!#}
case " $MISSING " in *" $pkg "*) exit 1 ;; esac
printf 'install ok installed'
STUB
cat >"$bin/id" <<'STUB'
#!/bin/bash
case $1 in -u) echo "$UID_IS" ;; -un) echo jdoe ;; esac
STUB
cat >"$bin/apt-get" <<'STUB'
#!/bin/bash
echo "apt-get $* (DEBIAN_FRONTEND=${DEBIAN_FRONTEND:-})" >>"$LOG"
STUB
chmod +x "$bin"/*
failures=0

# Runs the script; compares its output (stdout and stderr), its status and
# the commands it ran with the expected ones.
check() {
  local name=$1 want_status=$2 want_out=$3 want_log=$4
  : >"$work/log"
  out=$(env -i PATH="$bin" UID_IS="$uid" MISSING="$missing" LOG="$work/log" /bin/bash "$script" 2>&1)
  status=$?
  log=$(cat "$work/log")
  if [ "$status" != "$want_status" ] || [ "$out" != "$want_out" ] || [ "$log" != "$want_log" ]; then
    printf '%s: FAILED\n--- status %s, expected %s\n--- output:\n%s\n--- expected:\n%s\n--- ran:\n%s\n--- expected:\n%s\n' \
      "$name" "$status" "$want_status" "$out" "$want_out" "$log" "$want_log"
    failures=$((failures + 1))
  else
    echo "$name: ok"
  fi
}

missing="file lintian"
advice() {
  printf '%s\n' "scripts/install-deps.sh: these Debian packages are missing: file lintian" \
    "Installing them needs root: $1." "Ask an administrator to run:" \
    "  apt-get install --no-install-recommends file lintian"
}

uid=0
check "root installs what is missing" 0 "Installing: file lintian" \
"apt-get update -qq (DEBIAN_FRONTEND=)
apt-get install -y -qq --no-install-recommends file lintian (DEBIAN_FRONTEND=noninteractive)"

uid=1000
check "no root and no sudo" 1 "$(advice "jdoe is not root and sudo is not installed")" ""

# sudo that refuses the user, as for one not in the sudoers file.
cat >"$bin/sudo" <<'STUB'
#!/bin/bash
echo "sudo $*" >>"$LOG"
echo "jdoe is not in the sudoers file." >&2
exit 1
STUB
chmod +x "$bin/sudo"
check "sudo refuses" 1 "Installing: file lintian
jdoe is not in the sudoers file.
$(advice "sudo did not let jdoe run commands as root")" "sudo -v"

# sudo that lets the user: the commands run through it.
cat >"$bin/sudo" <<'STUB'
#!/bin/bash
echo "sudo $*" >>"$LOG"
[ "$1" = -v ] && exit 0
exec "$@"
STUB
check "sudo lets the user" 0 "Installing: file lintian" \
"sudo -v
sudo apt-get update -qq
apt-get update -qq (DEBIAN_FRONTEND=)
sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends file lintian
apt-get install -y -qq --no-install-recommends file lintian (DEBIAN_FRONTEND=noninteractive)"

missing=""
check "nothing missing" 0 "" ""

[ "$failures" -eq 0 ]
