#!/usr/bin/env bash
# Runs the real dnlconv executable and checks what a shell sees: the exit code, standard output
# and standard error, and the files on disk.
# Usage: dnlconv_test.sh CASE VERSION [EMULATOR...] DNLCONV
# (a Windows dnlconv.exe comes with the command that runs it, Wine)
set -euo pipefail

# File names and output are UTF-8, and Wine takes the arguments' encoding from the locale.
export LC_ALL=C.UTF-8

case_name=$1
version=$2
dnlconv=("${@:3}")

sources=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
out=$work/out
err=$work/err

fail() {
  echo "FAIL ($case_name): $*" >&2
  echo "--- stdout:" >&2
  cat "$out" >&2 2>/dev/null || true
  echo "--- stderr:" >&2
  cat "$err" >&2 2>/dev/null || true
  exit 1
}

# Runs dnlconv; the exit code lands in $code, the outputs in the files out and err.
run() {
  code=0
  "${dnlconv[@]}" "$@" >"$out" 2>"$err" || code=$?
}

expect_code() { [ "$code" -eq "$1" ] || fail "exit code $code, expected $1"; }
expect_out() { [ "$(cat "$out")" = "$1" ] || fail "unexpected stdout"; }
expect_err() { [ "$(cat "$err")" = "$1" ] || fail "unexpected stderr"; }
expect_out_line() { grep -qxF -- "$1" "$out" || fail "no stdout line '$1'"; }
count_out_lines() { grep -cxF -- "$1" "$out" || true; }

# Offers one a line that dnlconv's bash completion makes for the words given, as bash would on
# Tab; the last word is the one being completed.
complete_words() {
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE="$*"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _dnlconv "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}"
}

expect_offers() {
  local expected=$1
  shift
  complete_words "$@" >"$out"
  [ "$(cat "$out")" = "$expected" ] || fail "wrong offers for '$*'"
}

# A DNL file: NAME record "RQX4", a MISC record 0x0000, the end record (25 bytes).
sample() {
  printf '\x08\x05\x00\x00\x00\x05RQX4\x00\x00\x32\x00\x00\x00\x02\x00\x00\x0f\xff\x00\x00\x00\x00' >"$1"
}

# A DNL file whose second record header is cut after three bytes.
broken_sample() {
  printf '\x08\x05\x00\x00\x00\x05RQX4\x00\x0f\xff\x00' >"$1"
}

# A DNL file of 2^20 MISC records (8 MB) between a NAME record "RQX4" and the end record: a
# conversion takes long enough to be stopped halfway.
large_sample() {
  printf '\x00\x32\x00\x00\x00\x02\x00\x00' >misc
  for _ in $(seq 20); do cat misc misc >misc2 && mv misc2 misc; done
  { printf '\x08\x05\x00\x00\x00\x05RQX4\x00'; cat misc; printf '\x0f\xff\x00\x00\x00\x00'; } >"$1"
  rm misc
}

# Starts `dnlconv convert --module TNWQ8 FILE` and waits until it has rewritten a thousand MISC
# records; its process id lands in $pid.
start_conversion() {
  : >"$out"  # no lines of an earlier run may count
  "${dnlconv[@]}" convert --module TNWQ8 "$1" >"$out" 2>"$err" &
  pid=$!
  for _ in $(seq 600); do
    # Before dnlconv opens its output there is nothing to count: go on waiting.
    if [ -s "$out" ] && [ "$(count_out_lines "Modified the MISC record to 2048")" -ge 1000 ]; then
      return 0
    fi
    sleep 0.05
  done
  fail "the conversion did not get going"
}

# What converting `original` for `module` gives, without a backup.
converted_copy() {
  mkdir -p reference && cp original reference/x.dnl
  "${dnlconv[@]}" convert --no-backup --module "$1" reference/x.dnl >/dev/null
  mv reference/x.dnl "$2"
}

case "$case_name" in
killed_then_converted_again)
  # A conversion killed halfway leaves the file partly converted and its original in x.~NL. The
  # next one, for the same module or another, keeps that backup and completes the file.
  mkdir d
  large_sample original
  for module in TNWQ8 PZK2; do
    cp original d/x.dnl
    start_conversion d/x.dnl
    kill -9 "$pid"
    wait "$pid" || true
    cmp -s d/x.dnl original && fail "the file was not changed before the kill"
    run convert --module "$module" d/x.dnl
    expect_code 0
    expect_out_line "Kept the backup 'x.~NL': the last conversion of x.dnl did not finish"
    cmp -s d/x.~NL original || fail "x.~NL is not the original after $module"
    converted_copy "$module" expected
    cmp -s d/x.dnl expected || fail "x.dnl is not converted for $module"
    [ "$(ls -A d | tr '\n' ' ')" = "x.dnl x.~NL " ] || fail "the folder holds $(ls -A d)"
  done
  ;;
interrupted)
  # Ctrl+C and SIGTERM stop the run between two records, say so, and exit 130 and 143.
  large_sample original
  for signal in INT:130 TERM:143; do
    cp original x.dnl
    rm -f x.~NL
    start_conversion x.dnl
    kill -"${signal%:*}" "$pid"
    code=0
    wait "$pid" || code=$?
    expect_code "${signal#*:}"
    [ "$(tail -n 1 "$out")" = "x.dnl is partly converted; x.~NL holds the original" ] ||
      fail "no line says the file is partly converted"
    expect_err "dnlconv: 'x.dnl' conversion stopped before the end: interrupted; x.dnl is partly converted; x.~NL holds the original"
    cmp -s x.~NL original || fail "x.~NL is not the original"
    [ -e .x.dnl.~unfinished ] || fail "no marker is left"
  done
  ;;
version)
  run --version
  expect_code 0
  expect_out "dnlconv $version"
  expect_err ""
  ;;
help)
  run --help
  expect_code 0
  expect_out_line "Usage: dnlconv [OPTIONS] SUBCOMMAND"
  expect_out_line "                  RQX4, LM5, PZK2, TNWQ8 or JSRY3 (in any case), or 0 to 4"
  expect_out_line "    --gbr         mark the GBR signal (adds 0x1000 to the code); TNWQ8 only"
  expect_err ""
  ;;
no_command)
  run
  expect_code 2
  expect_out ""
  expect_err "dnlconv: no command given; choose info, convert, modules, restore"
  ;;
unknown_option)
  sample x.dnl
  run convert --module 3 --frobnicate x.dnl
  expect_code 2
  expect_out ""
  expect_err "dnlconv: The following argument was not expected: --frobnicate"
  ;;
missing_file_touches_nothing)
  sample a.dnl
  sample original
  run convert --module TNWQ8 a.dnl missing.dnl
  expect_code 2
  expect_out ""
  expect_err "dnlconv: cannot convert 'missing.dnl': No such file or directory"
  cmp -s a.dnl original || fail "a.dnl was changed"
  [ ! -e a.~NL ] || fail "a backup was made"
  ;;
modules)
  run modules
  expect_code 0
  expect_out_line '3  TNWQ8  NAME "TNW8", --gbr adds 0x1000'
  expect_out_line '     1080/50i    0x0801'
  expect_out_line '4  JSRY3  NAME "JSRY6"'
  [ "$(grep -c '^[0-4]  ' "$out")" -eq 5 ] || fail "not five modules"
  ;;
info_good)
  sample x.dnl
  sample original
  run info x.dnl
  expect_code 0
  expect_out '==> x.dnl <==
3 records in 25 bytes
NAME at offset 0: "RQX4" (RQX4), 5-byte payload
MISC at offset 11: 0x0000 = NTSC or PAL
well formed'
  expect_err ""
  cmp -s x.dnl original || fail "info changed the file"
  ;;
info_broken)
  sample good.dnl
  broken_sample broken.dnl
  broken_sample original
  run info good.dnl broken.dnl missing.dnl
  expect_code 1
  why="the record header at offset 11 is cut short by the end of the file"
  expect_out_line "problem: $why"
  expect_err "dnlconv: 'broken.dnl' is not well formed: $why
dnlconv: cannot open 'missing.dnl': No such file or directory"
  cmp -s broken.dnl original || fail "info changed the file"
  ;;
convert_batch)
  mkdir one two elsewhere
  sample one/a.dnl
  sample two/b.dnl
  sample two/c.dnl
  sample original
  cd elsewhere
  run convert --module TNWQ8 --format 1080/50i --gbr ../one/a.dnl ../two/b.dnl ../two/c.dnl
  expect_code 0
  expect_err ""
  [ "$(grep -c '^==> ' "$out")" -eq 3 ] || fail "not one heading per file"
  [ "$(count_out_lines "Finished")" -eq 3 ] || fail "not three finished runs"
  [ "$(count_out_lines "Modified the MISC record to 6145")" -eq 3 ] || fail "wrong MISC lines"
  [ -z "$(ls -A .)" ] || fail "something was written to the working directory"
  for backup in ../one/a.~NL ../two/b.~NL ../two/c.~NL; do
    cmp -s "$backup" ../original || fail "$backup is not the original"
  done
  run info ../one/a.dnl
  expect_code 0
  expect_out_line 'NAME at offset 0: "TNW8" (TNWQ8), 5-byte payload'
  expect_out_line 'MISC at offset 11: 0x1801 = 1080/50i + GBR'
  # The same conversion again keeps the backup of the original.
  run convert --module TNWQ8 --format 1080/50i --gbr ../one/a.dnl
  expect_code 0
  expect_out_line "Kept the backup 'a.~NL': a.dnl already holds TNWQ8 with MISC code 6145"
  cmp -s ../one/a.~NL ../original || fail "a second conversion replaced the original"

  broken_sample ../two/broken.dnl
  run convert --module PZK2 ../one/a.dnl ../two/broken.dnl ../two/c.dnl
  expect_code 1
  [ "$(count_out_lines "Finished")" -eq 2 ] || fail "the good files were not converted"
  why="the record header at offset 11 is cut short by the end of the file"
  expect_out_line "Not converted: $why"
  expect_err "dnlconv: '../two/broken.dnl' not converted: $why; --force converts it anyway"
  ;;
dry_run_then_restore)
  # A dry run changes nothing and exits as the conversion then does; restore gives the original
  # back byte for byte, keeps the backup and leaves nothing else behind.
  mkdir d
  sample d/x.dnl
  broken_sample d/broken.dnl
  sample original
  listing() { ls -A d | tr '\n' ' '; }
  run convert --dry-run --module TNWQ8 --format 1080/50i --gbr d/x.dnl d/broken.dnl
  expect_code 1
  expect_out_line "Backup 'x.~NL' would be made"
  why="the record header at offset 11 is cut short by the end of the file"
  expect_err "dnlconv: 'd/broken.dnl' would not be converted: $why; --force converts it anyway"
  [ "$(listing)" = "broken.dnl x.dnl " ] || fail "the dry run left $(listing)"
  cmp -s d/x.dnl original || fail "the dry run changed x.dnl"
  run convert --module TNWQ8 --format 1080/50i --gbr d/x.dnl
  expect_code 0
  cmp -s d/x.dnl original && fail "x.dnl was not converted"
  run restore d/x.dnl
  expect_code 0
  cmp -s d/x.dnl original || fail "x.dnl is not the original"
  cmp -s d/x.~NL original || fail "x.~NL is not the original"
  [ "$(listing)" = "broken.dnl x.dnl x.~NL " ] || fail "restore left $(listing)"
  ;;
json)
  sample x.dnl
  run info --json x.dnl
  expect_code 0
  expect_out '{"file":"x.dnl","outcome":"well formed","error":null,"size":25,"records":3,"module":"RQX4","names":{"count":1,"first":[{"offset":0,"text":"RQX4","cut":false,"module":"RQX4","length":5}]},"miscs":{"count":1,"first":[{"offset":11,"value":0,"formats":["NTSC","PAL"],"gbr":false}],"lowest":0,"highest":0},"problems":{"count":0,"first":[]},"well_formed":true}'
  run convert --json --no-backup --module PZK2 x.dnl
  expect_code 0
  expect_out '{"file":"x.dnl","dry_run":false,"lines":["Start...","Find a NAME record","--> PZK2","Modified the MISC record to 0","Finished"],"outcome":"finished","error":null,"backup":"none","backup_file":null}'
  ;;
names_in_many_scripts)
  # Names in Japanese and other scripts reach the files intact, and are printed as UTF-8.
  mkdir 変換
  sample 変換/モジュール.dnl
  sample Ελληνικά.dnl
  sample original
  run convert --module TNWQ8 変換/モジュール.dnl Ελληνικά.dnl
  expect_code 0
  expect_out_line "==> 変換/モジュール.dnl <=="
  expect_out_line "Backed up the original DNL file as 'モジュール.~NL'"
  expect_out_line "Backed up the original DNL file as 'Ελληνικά.~NL'"
  [ "$(count_out_lines "Finished")" -eq 2 ] || fail "not two finished runs"
  for backup in 変換/モジュール.~NL Ελληνικά.~NL; do
    cmp -s "$backup" original || fail "$backup is not the original"
  done
  run info 変換/モジュール.dnl
  expect_code 0
  expect_out_line 'NAME at offset 0: "TNW8" (TNWQ8), 5-byte payload'
  run info 変換/ない.dnl
  expect_code 1
  expect_err "dnlconv: cannot open '変換/ない.dnl': No such file or directory"
  # An absolute path of over 300 characters, past Windows' old limit of 260, written with "/"
  # (Wine shows the Unix root as drive Z:).
  folder=$work/$(printf 'f%.0s' {1..140})/$(printf 'g%.0s' {1..140})
  mkdir -p "$folder"
  sample "$folder/long.dnl"
  long=$folder/long.dnl
  [[ ${dnlconv[-1]} != *.exe ]] || long=Z:$long
  run convert --module TNWQ8 "$long"
  expect_code 0
  cmp -s "$folder/long.~NL" original || fail "the backup on the long path is not the original"
  run info "$long"
  expect_out_line 'NAME at offset 0: "TNW8" (TNWQ8), 5-byte payload'
  ;;
wildcards)
  # Windows' shells leave `*` and `?` to the program, which matches them in the FILE arguments
  # alone; elsewhere the shell has matched them and a name is taken as it is.
  mkdir one 1080
  sample one/B.dnl
  sample one/a.dnl
  sample one/c.DNL
  sample original
  : >1080/50i
  run convert --module TNWQ8 --format '1080/5?' 'one/*.dnl'
  expect_code 2
  grep -qF -- "--format: '1080/5?' is not a format of TNWQ8" "$err" || fail "the format was matched"
  run convert --module TNWQ8 'one/*.none'
  expect_code 2
  expect_err "dnlconv: cannot convert 'one/*.none': No such file or directory"
  [[ ${dnlconv[-1]} == *.exe ]] || exit 0
  run convert --module TNWQ8 'one/?.dnl'
  expect_code 0
  [ "$(grep '^==> ' "$out")" = $'==> one/a.dnl <==\n==> one/B.dnl <==\n==> one/c.DNL <==' ] ||
    fail "not every match, in order"
  cmp -s one/c.~NL original || fail "one/c.DNL was not backed up"
  ;;
console_output)
  # On a terminal (on Windows, a console), a Japanese file name is shown as itself.
  sample 変換.dnl
  code=0
  script -qec "$(printf '%q ' "${dnlconv[@]}") info 変換.dnl" /dev/null >"$out" 2>"$err" || code=$?
  expect_code 0
  grep -qF "==> 変換.dnl <==" "$out" || fail "the name is not shown as itself"
  ;;
closed_pipe)
  # A reader that has gone must not stop a conversion halfway. The pipe's only reader is closed
  # before dnlconv starts, so every line it prints meets a closed pipe, whatever the timing.
  {
    printf '\x08\x05\x00\x00\x00\x05RQX4\x00'
    head -c $((1000 * 6)) /dev/zero
    printf '\x00\x32\x00\x00\x00\x02\x00\x00\x0f\xff\x00\x00\x00\x00'
  } >big.dnl
  size=$(stat -c %s big.dnl)
  mkfifo pipe
  exec 3<>pipe 4>pipe 3<&-
  code=0
  "${dnlconv[@]}" convert --module TNWQ8 --no-backup big.dnl >&4 2>"$err" || code=$?
  exec 4>&-
  expect_code 1
  [ "$(head -c 11 big.dnl | tail -c 5 | od -An -tx1 | tr -d ' ')" = "544e573800" ] ||
    fail "the NAME record was not rewritten"
  [ "$(tail -c 8 big.dnl | head -c 2 | od -An -tx1 | tr -d ' ')" = "0800" ] ||
    fail "the MISC record was not rewritten"
  [ "$(stat -c %s big.dnl)" -eq "$size" ] || fail "the file changed its size"
  expect_err "dnlconv: cannot write to standard output"
  ;;
completion)
  # Bash's completion helpers are written for an interactive shell.
  set +eu
  source /usr/share/bash-completion/bash_completion
  source "$sources/packaging/completion/dnlconv"
  sample a.dnl
  expect_offers $'-h\n--help\n--version\ninfo\nconvert\nmodules\nrestore' "$dnlconv" ""
  expect_offers $'--help\n--module\n--format\n--gbr\n--no-backup\n--force\n--dry-run\n--json' \
    "$dnlconv" convert --
  expect_offers "--json" "$dnlconv" info --j
  expect_offers "a.dnl" "$dnlconv" restore a
  expect_offers "TNWQ8" "$dnlconv" convert --module t
  expect_offers 'NTSC\ NSU' "$dnlconv" convert --module=0 --format 'ntsc\ '
  expect_offers "1080/50i" "$dnlconv" convert --module tnwq8 --gbr --format=1080/5
  expect_offers $'720/50p\n720/30p\n720/25p\n720/24p' "$dnlconv" convert --module 4 --format ""
  expect_offers "" "$dnlconv" convert --module LM5 --format ""
  expect_offers "a.dnl" "$dnlconv" info --force a
  expect_offers "" "$dnlconv" modules ""
  ;;
full_output)
  [ -w /dev/full ] || exit 0
  code=0
  "${dnlconv[@]}" modules >/dev/full 2>"$err" || code=$?
  expect_code 1
  expect_err "dnlconv: cannot write to standard output"
  ;;
*)
  fail "unknown case"
  ;;
esac
