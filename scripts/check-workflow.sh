#!/usr/bin/env bash
# Checks the GitHub workflows against the workflow schema (job and step keys, value types, `needs` that name
# real jobs) with the action-validator from npm. The workflows cannot run on this machine; this is the check that
# can. Installs npm (Debian's package) when it is missing.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QN_ROOT"
if ! command -v npx >/dev/null; then
    qn_log "installing: npm"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends npm >/dev/null
fi
status=0
for workflow in .github/workflows/*.yml; do
    if npx --yes @action-validator/cli@0.6.0 "$workflow"; then
        echo "valid: $workflow"
    else
        echo "INVALID: $workflow" >&2
        status=1
    fi
done
exit $status
