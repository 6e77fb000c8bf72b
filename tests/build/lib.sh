# Shared by the build checks: a failure message, and running the calling script again with a
# program hidden (tests/support/without-program.sh) unless it is missing already.
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
rerun_without() {
  if command -v "$1" >/dev/null; then
    exec bash "$SOURCE_DIR/tests/support/without-program.sh" "$1" bash "$0"
  fi
}
