#!/bin/sh
# Runs one Windows program under Wine for ctest; output and exit code pass straight through.
# QN_ADDRESS_LIMIT_MB, when set, limits the address space of the program and of everything it starts, so that a
# 64-bit reservation cannot take more than that from a machine whose memory it would otherwise exhaust.
if [ -n "${QN_ADDRESS_LIMIT_MB:-}" ]; then
    ulimit -v $((QN_ADDRESS_LIMIT_MB * 1024))
fi
# The driver's own test checks that the programs find out for themselves that they run under Wine.
export QN_E2E_HOST=wine
exec wine "$@"
