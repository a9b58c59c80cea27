#!/bin/sh
# The bash completion of taloven-cli against the built program: commands and
# their options come from its help, so a command added later completes too.
# Usage: completion_test.sh SOURCE_DIR BUILD_DIR
set -eu
exec bash -c '
set -u
source "$1/data/completion/taloven-cli"
PATH="$2/bin:$PATH"
failures=0
# Each case: the words typed, "|", the completions expected (sorted).
while IFS="|" read -r typed expected; do
  [ -z "$typed" ] && continue
  read -r -a COMP_WORDS <<<"$typed"
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  # A trailing space means a new, empty word is being completed.
  if [ "${typed% }" != "$typed" ]; then
    COMP_WORDS+=("")
    COMP_CWORD=${#COMP_WORDS[@]}-1
  fi
  COMPREPLY=()
  _taloven_cli
  got=$(printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " " | sed "s/ *$//")
  if [ "$got" != "$expected" ]; then
    echo "FAIL: \"$typed\" completed to \"$got\", expected \"$expected\""
    failures=$((failures + 1))
  fi
done <<CASES
taloven-cli de|decode detect
taloven-cli -C /tmp l|list
taloven-cli -x --raw fr|frame
taloven-cli -p COM1: sen|send
taloven-cli --model ECF-T1|ECF-T10 ECF-T11 ECF-T12 ECF-T13
taloven-cli -p COM|COM1: COM2: COM3: COM4: COM5: COM6: COM7: COM8:
taloven-cli -p U|USB
taloven-cli --v|--version
taloven-cli --model-m|--model-mask
taloven-cli detect --p|--probe
taloven-cli -C /tmp detect --probe F|FILE
taloven-cli list --h|--help
taloven-cli sequence |add delete list new remove run show
taloven-cli -p USB sequence r|remove run
taloven-cli sequence run --s|--step
taloven-cli sequence run x -|--at --help --replace --step -n -w
taloven-cli verify |check compare train
taloven-cli send |
CASES
# Every command of the help is offered for an empty word.
COMP_WORDS=(taloven-cli "")
COMP_CWORD=1
_taloven_cli
for command in $(taloven-cli --help | awk "/^Comandos:/{c=1;next} c&&/^  [a-z]/{print \$1}"); do
  case " ${COMPREPLY[*]} " in
    *" $command "*) ;;
    *) echo "FAIL: command $command not offered"; failures=$((failures + 1)) ;;
  esac
done
exit $failures
' completion_test "$1" "$2"
