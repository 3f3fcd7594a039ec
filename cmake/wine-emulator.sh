#!/bin/sh
# Runs one Windows program under Wine for ctest; output and exit code pass straight through.
exec wine "$@"
