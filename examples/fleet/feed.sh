#!/bin/sh
# Publishes a meter's measurement to an MQTT broker: one JSON object a poll on
# the topic vantor/METER/measurement, as vantorctl poll --json prints it.
#   feed.sh METER DEVICE ADDRESS [BROKER [PORT [INTERVAL_MS]]]
# e.g. feed.sh pit-north rfc2217://gw1.site:2001 1 broker.site
# Run one per meter (a service each, or under a supervisor); a failed poll is
# published too, with "ok": false and its reason, so a dashboard sees the gap.
set -eu
[ $# -ge 3 ] || { sed -n '2,7s/^# \{0,1\}//p' "$0" >&2; exit 2; }
meter=$1 device=$2 address=$3 broker=${4:-localhost} port=${5:-1883} interval=${6:-1000}
"${VANTORCTL:-vantorctl}" --device "$device" --address "$address" --language en poll --json --interval "$interval" |
  mosquitto_pub -h "$broker" -p "$port" -l -t "vantor/$meter/measurement"
