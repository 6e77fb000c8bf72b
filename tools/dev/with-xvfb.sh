#!/usr/bin/env bash
# Runs a command against a private Xvfb display with Mesa's software renderer, so GL tests and
# end-to-end runs never depend on (or disturb) the user's own display.
# -noreset: by default the server resets whenever its last client leaves, and a client that
# connects during the reset is refused ("failed to open display"). Tests come and go one after
# another, so that race would fail one now and then.
set -eu
export LIBGL_ALWAYS_SOFTWARE=1
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" "$@"
