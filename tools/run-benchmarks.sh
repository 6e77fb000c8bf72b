#!/usr/bin/env bash
# Runs every benchmark and prints its figures. Usage: run-benchmarks.sh BUILD_DIR
set -eu
build=${1:?usage: run-benchmarks.sh BUILD_DIR}
echo "== simulation throughput"
"$build/bench/sim_throughput" 3
