# Bash completion for datora.
#
# The first word is a file or directory. After it come the stamp keywords,
# the relation keywords, "not" and the options. While the relation keywords
# on the line leave a relation named (each one toggles its relation, so
# naming one twice cancels it), the second operand is offered too: file
# names and the forms today, today-, now and now-. A name that begins with
# "today" or "now" would be read as an expression, so it is offered as
# ./name. Keywords match whatever the case typed.

_datora() {
  local cur=${COMP_WORDS[COMP_CWORD]}
  local lower=${cur,,}
  COMPREPLY=()

  if ((COMP_CWORD == 1)); then
    mapfile -t COMPREPLY < <(compgen -f -- "$cur")
    return 0
  fi

  local words="created modified accessed before after sametime not /datelocal /dateutc /debug"
  local relation=0 i
  for ((i = 2; i < COMP_CWORD; i++)); do
    case ${COMP_WORDS[i],,} in
      sametime) ((relation ^= 1)) ;;
      before) ((relation ^= 2)) ;;
      after) ((relation ^= 4)) ;;
    esac
  done
  if ((relation)); then
    words+=" today today- now now-"
  fi

  local word
  for word in $words; do
    [[ $word == "$lower"* ]] && COMPREPLY+=("$word")
  done
  if ((relation)); then
    local name
    while IFS= read -r name; do
      [[ ${name,,} == today* || ${name,,} == now* ]] && name=./$name
      COMPREPLY+=("$name")
    done < <(compgen -f -- "$cur")
  fi

  # today- and now- wait for a count: no space after them.
  if ((${#COMPREPLY[@]} == 1)) && [[ ${COMPREPLY[0]} == *- ]]; then
    compopt -o nospace 2>/dev/null
  fi
  return 0
}

complete -o filenames -F _datora datora
