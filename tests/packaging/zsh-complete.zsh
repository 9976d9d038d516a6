#!/usr/bin/env zsh
# zsh-complete.zsh FOLDER OUT LINE...: types each LINE into an interactive zsh whose completion
# functions include those of FOLDER, presses Tab, and writes the words that zsh offered into
# OUT/0, OUT/1, ... one a line.
zmodload zsh/zpty
folder=$1 out=$2
mkdir -p $out
shift 2
zpty quillmark zsh -f -i
zpty -w quillmark "fpath=(${(q)folder} \$fpath); autoload -Uz compinit; compinit -u -D"
# Every word that a completion function adds, unless it only collects them (-O, -A, -D).
zpty -w quillmark 'compadd() { if (( ! $@[(I)-[OAD]] )); then builtin compadd -O __words "$@"; print -rl -- $__words >>$__out; fi; builtin compadd "$@" }'
# Tab completes, then says that it is done.
zpty -w quillmark '__complete() { zle complete-word; : >$__out.done }; zle -N __complete; bindkey "^I" __complete'
# Waits for the file $1.
await() {
  for i in {1..100}; do
    [[ -e $1 ]] && return
    sleep 0.1
  done
  print -u2 "zsh did not complete the line: $line"
  exit 1
}
n=0
for line in "$@"; do
  zpty -w quillmark "__out=${(q)out}/$n; : >\$__out"
  await $out/$n
  zpty -n -w quillmark "$line"$'\t'
  await $out/$n.done
  zpty -n -w quillmark $'\C-u'
  (( n++ ))
done
zpty -d quillmark
