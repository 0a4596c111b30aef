#!/usr/bin/env bash
# Runs a file of Orca scenarios (see orca_session.py): each in a fresh
# headless desktop with Orca, each with its own time limit, and the whole
# under an overall one, so a hang fails with a message rather than stalling.
#   run_orca.sh SCENARIOS.py [ARGS...]     (ORCA_STAGE_LIMIT seconds, 900)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
limit=${ORCA_STAGE_LIMIT:-900}
# Debian's Python, whose GObject bindings Orca's own tools share.
PYTHONPATH=$here${PYTHONPATH:+:$PYTHONPATH} timeout --kill-after=10 "$limit" \
    /usr/bin/python3 -u "$@"
status=$?
[ $status -ne 124 ] || echo "FAILED: the Orca scenarios ran past $limit s"
exit $status
