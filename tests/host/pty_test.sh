#!/usr/bin/env bash
# kxcalc on a terminal, driven through tmux: Tab completion of functions and of assigned
# variables, history kept across sessions in the state directory, help, quit and Ctrl-D,
# Ctrl-C, coloured messages and NO_COLOR, and colour on a terminal when the input is piped.
# Usage: pty_test.sh KXCALC        (exit status 77: tmux is missing and cannot be installed)
set -uo pipefail
kxcalc=$1

if ! command -v tmux > /dev/null; then
    if [[ $(id -u) == 0 ]] && command -v apt-get > /dev/null; then
        apt-get install -y -qq tmux > /dev/null 2>&1 || { apt-get update -qq > /dev/null 2>&1 && apt-get install -y -qq tmux > /dev/null 2>&1; }
    fi
    command -v tmux > /dev/null || { echo "SKIP: tmux is not installed"; exit 77; }
fi

work=$(mktemp -d)
# Each session runs in a tmux server of its own, on its own socket.
sessions=0
socket="$work/tmux.0"
tmux_() { tmux -S "$socket" -f /dev/null "$@"; }
stop_servers() {
    for each in "$work"/tmux.*; do [[ -S "$each" ]] && tmux -S "$each" kill-server > /dev/null 2>&1; done
}
trap 'stop_servers; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The pane's text, without the blanks that end its lines.
screen() { tmux_ capture-pane -p -J -t kx "$@" | sed 's/ *$//'; }

# Waits until the screen shows the pattern (an extended regular expression), up to 10 s.
wait_for() {
    local pattern=$1 what=$2
    for _ in $(seq 100); do
        grep -Eq -- "$pattern" <<< "$(screen ${3:-})" && return 0
        sleep 0.1
    done
    fail "$what: the screen never showed /$pattern/"
    screen ${3:-} | sed 's/^/    | /'
    return 1
}

wait_for_exit() {
    for _ in $(seq 100); do
        [[ -s "$work/status" ]] && { cat "$work/status"; return; }
        sleep 0.1
    done
    echo "none"
}

# Starts kxcalc in a fresh tmux session with the given environment assignments.
new_server() {
    tmux_ kill-server > /dev/null 2>&1
    sessions=$((sessions + 1))
    socket="$work/tmux.$sessions"
    rm -f "$work/status"
}

start() {
    new_server
    tmux_ new-session -d -s kx -x 100 -y 40 \
        "env -u NO_COLOR -u XDG_STATE_HOME TERM=xterm-256color $* '$kxcalc'; echo \$? > '$work/status'; sleep 30"
    wait_for '^kxcalc .*type help' "banner"
}

keys() { tmux_ send-keys -t kx "$@"; }

# Types only once readline shows a fresh prompt: keys sent between two lines would be echoed
# by the terminal itself, before readline draws its prompt.
at_prompt() { wait_for '^kx>$' "a fresh prompt before: $*" && keys "$@"; }

# Session 1: completion, help, a coloured message, Ctrl-D.
start HOME="$work/home" XDG_STATE_HOME="$work/state"
at_prompt 'set width = 3' Enter
wait_for '^3$' "assignment answered"
at_prompt 'wi' Tab
wait_for '^kx> width$' "an assigned variable completes"
keys '*2' Enter
wait_for '^6$' "completed variable evaluated"
at_prompt 'acot' Tab
wait_for '^kx> acot$' "two candidates: the common part, nothing appended"
keys Tab Tab
wait_for 'acoth' "a second Tab lists the candidates"
keys C-u 'SQ' Tab
wait_for '^kx> sqrt\($' "a function completes with its bracket, whatever the case typed"
keys C-u 'p' Tab
wait_for '^kx> pi$' "a constant completes"
keys C-u 'to' Tab
wait_for '^kx> tol$' "the tolerance completes"
keys C-u 'help' Enter
wait_for '^Functions  sin cos tan' "help shows the language"
wait_for '^Tab completes names' "help tells the keys"
at_prompt '2)' Enter
wait_for '^Syntax error\.  Unmatched: \)$' "message shown"
grep -q $'\x1b\\[1m\x1b\\[31mSyntax error' <<< "$(screen -e)" ||
    grep -q $'\x1b\\[1;31mSyntax error' <<< "$(screen -e)" || fail "the message is in bold red"
grep -q $'\x1b\\[[0-9;]*m6$' <<< "$(screen -e)" && fail "a result is coloured"
at_prompt C-d
status=$(wait_for_exit)
[[ "$status" == 1 ]] || fail "Ctrl-D leaves with status 1 after a message (got $status)"
history="$work/state/kxcalc/history"
if [[ -f "$history" ]]; then
    [[ "$(stat -c %a "$history")" == 600 ]] || fail "history file is private"
    grep -qx 'set width = 3' "$history" || fail "history holds the assignment"
    grep -qx 'width\*2' "$history" || fail "history holds the completed line"
    grep -qx '2)' "$history" || fail "history holds the last line"
else
    fail "no history file at $history"
fi

# Session 2: the lines of session 1 come back with Up; NO_COLOR marks messages instead.
start HOME="$work/home" XDG_STATE_HOME="$work/state" NO_COLOR=1
at_prompt Up
wait_for '^kx> 2\)$' "Up recalls the last line of the previous session"
keys Up Up Up Enter
wait_for '^kx> set width = 3$' "Up steps back through earlier lines"
wait_for '^3$' "recalled line evaluated"
at_prompt '1+' Enter
wait_for '^! Ran Out of Data$' "without colour a message is marked"
grep -q $'\x1b\\[[0-9;]*m' <<< "$(screen -e)" && fail "escape sequences under NO_COLOR"
at_prompt 'quit' Enter
status=$(wait_for_exit)
[[ "$status" == 1 ]] || fail "quit leaves with status 1 after a message (got $status)"

# Session 3: without XDG_STATE_HOME the history is under ~/.local/state; Ctrl-C abandons a
# line and keeps the session; results only give 0.
start HOME="$work/home"
at_prompt '7*'
wait_for '^kx> 7\*$' "typed before Ctrl-C"  # the terminal drops input not yet read at Ctrl-C
keys C-c
wait_for '^kx> 7\*\^C$' "Ctrl-C abandons the line"
at_prompt '1+1' Enter
wait_for '^2$' "answer after Ctrl-C"
grep -q '^7' <<< "$(screen)" && fail "the abandoned line was evaluated"
at_prompt '  EXIT  ' Enter
status=$(wait_for_exit)
[[ "$status" == 0 ]] || fail "exit leaves with status 0 after results only (got $status)"
grep -qx '1+1' "$work/home/.local/state/kxcalc/history" 2> /dev/null || fail "history under HOME"

# Piped input, output on the terminal: a filter, still coloured, with no prompt.
new_server
tmux_ new-session -d -s kx -x 100 -y 40 \
    "printf '1+2\\n2)\\nhelp\\n' | env -u NO_COLOR TERM=xterm-256color '$kxcalc'; echo \$? > '$work/status'; sleep 30"
status=$(wait_for_exit)
[[ "$status" == 1 ]] || fail "filter status (got $status)"
grep -q 'kx>' <<< "$(screen)" && fail "a filter shows no prompt"
grep -q '^Ran Out of Data$' <<< "$(screen)" || fail "help is a line for the library in a filter"
grep -q $'\x1b\\[1m\x1b\\[31mSyntax error' <<< "$(screen -e)" ||
    grep -q $'\x1b\\[1;31mSyntax error' <<< "$(screen -e)" || fail "a filter on a terminal colours messages"

if ((failures > 0)); then echo "$failures failed"; exit 1; fi
echo "pty: all checks passed"
