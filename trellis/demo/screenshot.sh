#!/bin/sh
# Takes a screenshot of trellis-demo under Xvfb with three menu levels open,
# driven by keyboard only. Usage: trellis/demo/screenshot.sh [BUILD_DIR] [OUT.png]
build=${1:-build}
out=${2:-/tmp/trellis.png}
exec xvfb-run -a -s "-screen 0 1920x1080x24" sh -c "
  $build/trellis/trellis-demo & pid=\$!
  sleep 2
  xdotool search --sync --name 'Trellis demo' windowfocus --sync
  # Settings > Display > Colour mode, then down to the second colour.
  xdotool key Return; sleep 0.4
  xdotool key Return; sleep 0.4
  xdotool key Return; sleep 0.4
  xdotool key Down; sleep 0.4
  import -window root '$out'
  kill \$pid
"
