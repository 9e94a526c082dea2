#!/bin/sh
# Fails when an include runs against the direction of dependency:
# app -> operations -> firmware -> discovery, transfer, at, netconfig -> core -> platform.
cd "${1:-.}" || exit 2
includes() { grep -rn -E '#include +"[a-z]+/' "$@" 2>/dev/null; }
bad=$( {
  includes src/platform | grep -v -E '#include +"platform/'
  includes src/core | grep -v -E '#include +"(core|platform)/'
  includes src/discovery src/transfer src/at src/netconfig |
    grep -v -E '#include +"(discovery|transfer|at|netconfig|core|platform)/'
  includes src/firmware | grep -E '#include +"(app|operations)/'
  includes src/operations | grep -E '#include +"app/'
} )
if [ -n "$bad" ]; then
  echo "includes against the direction of dependency:"
  echo "$bad"
  exit 1
fi
echo "layers: 1 passed, 0 failed"
