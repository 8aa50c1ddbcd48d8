# What the shell tests share: sourced, it counts checks and reports them.
#   check NAME EXPECTED ACTUAL         texts equal
#   check_bytes NAME EXPECTED ACTUAL   files equal byte for byte
#   give_up REASON                     a failure that stops the test at once
#   check_table                        from its input, lines NAME#EXPECTED#COMMAND:
#                                      the command's output and status, as check
#   summary                            the counts; its status is the test's
#   free_port                          a loopback TCP port nobody listens on now
failures=0
passes=0

check() {
  if [ "$2" == "$3" ]; then
    passes=$((passes + 1))
  else
    echo "FAILED: $1"
    echo "  expected: $2"
    echo "  actual:   $3"
    failures=$((failures + 1))
  fi
}

check_bytes() {
  if cmp -s "$2" "$3"; then
    passes=$((passes + 1))
  else
    echo "FAILED: $1"
    echo "  expected:"; od -c "$2" | sed 's/^/    /'
    echo "  actual:"; od -c "$3" 2>&1 | sed 's/^/    /'
    failures=$((failures + 1))
  fi
}

summary() {
  echo "$passes passed, $failures failed"
  [ "$failures" -eq 0 ]
}

give_up() {
  echo "FAILED: $1"
  failures=$((failures + 1))
  summary
  exit 1
}

check_table() {
  local name expected command out rc
  while IFS='#' read -r name expected command; do
    out=$(eval "$command" 2>&1 </dev/null); rc=$?
    check "$name" "$expected" "$out $rc"
  done
}

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
