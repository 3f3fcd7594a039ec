#!/bin/sh
# Runs one Windows program under Wine for ctest; output and exit code pass straight through.
# QN_ADDRESS_LIMIT_MB, when set, limits the address space of the program and of everything it starts, so that a
# 64-bit reservation cannot take more than that from a machine whose memory it would otherwise exhaust.
if [ -n "${QN_ADDRESS_LIMIT_MB:-}" ]; then
    ulimit -v $((QN_ADDRESS_LIMIT_MB * 1024))
fi
exec wine "$@"
