# Bash completion for datora.
#
# The first word is a file or directory, or a set: newest: or oldest: and
# then a path. After it come the stamp keywords, the relation keywords,
# "not" and the options. While the relation keywords on the line leave a
# relation named (each one toggles its relation, so naming one twice
# cancels it), the second operand is offered too: file names and the forms
# today, today-, now, now-, date:, newest: and oldest:. A name that begins
# with one of these forms would be read as one, so it is offered as ./name.
# Keywords and forms match whatever the case typed.

# Bash splits words at the characters of COMP_WORDBREAKS, and ":", "=" and
# "@" can stand unquoted in a name: "year=2024/month=01.csv" and
# "/tolerance:2" arrive as the pieces "year", "=", "2024/month", "=",
# "01.csv" and "/tolerance", ":", "2". Joins the pieces that the line writes
# without a blank between them into the words the command will receive;
# sets `words` and `cword`.
_datora_words() {
  local i gap at=0
  words=()
  for ((i = 0; i <= COMP_CWORD; i++)); do
    gap=${COMP_LINE:at}
    gap=${gap%%[![:space:]]*}
    at=$((at + ${#gap} + ${#COMP_WORDS[i]}))
    if ((i > 0 && ${#gap} == 0)); then
      words[-1]+=${COMP_WORDS[i]}
    else
      words+=("${COMP_WORDS[i]}")
    fi
  done
  cword=$((${#words[@]} - 1))
}

_datora() {
  local words cword
  _datora_words
  local cur=${words[cword]}
  local lower=${cur,,}
  COMPREPLY=()

  if ((cword == 1)); then
    _datora_operand "newest: oldest:" "@(newest:|oldest:)"
    [[ ${COMPREPLY[*]} == @(newest|oldest): ]] && _datora_no_space_after_form
  elif [[ $lower != /tolerance:* ]]; then # its seconds are typed, not offered
    _datora_after_first
  fi

  _datora_after_last_break "$cur"
  return 0
}

# Bash replaces only the text after the word's last character that is in
# COMP_WORDBREAKS, that character included when it is "@" or "$" (which
# readline keeps as a prefix), so each candidate goes without the word's
# text before that.
_datora_after_last_break() {
  local cur=$1 breaks=${COMP_WORDBREAKS-} i=${#1}
  [[ -n $breaks ]] || return 0
  while ((i > 0)) && [[ $breaks != *"${cur:i-1:1}"* ]]; do
    ((i--))
  done
  ((i > 0)) || return 0
  [[ ${cur:i-1:1} == [@\$] ]] && ((i--))
  local prefix=${cur:0:i} reply kept=()
  for reply in "${COMPREPLY[@]}"; do
    [[ $reply == "$prefix"* ]] && kept+=("${reply#"$prefix"}")
  done
  COMPREPLY=("${kept[@]}")
}

# Offers the keywords, options and second operands that match the word
# `cur` after the first one.
_datora_after_first() {
  local offered="created modified accessed changed before after sametime not"
  offered+=" /datelocal /dateutc /debug /dst /tolerance: /s"
  local relation=0 i
  for ((i = 2; i < cword; i++)); do
    case ${words[i],,} in
      sametime) ((relation ^= 1)) ;;
      before) ((relation ^= 2)) ;;
      after) ((relation ^= 4)) ;;
    esac
  done

  local word
  for word in $offered; do
    [[ $word == "$lower"* ]] && COMPREPLY+=("$word")
  done
  if ((relation)); then
    _datora_operand "today today- now now- date: newest: oldest:" \
      "@(today|now|date:|newest:|oldest:)"
  fi
  _datora_no_space_after_form
}

# Offers an operand for the word `cur`: once it begins with newest: or
# oldest:, the files and directories for the path after the colon;
# otherwise the forms in $1 that match, and the file names, where a name
# that matches the pattern $2 is offered as ./name.
_datora_operand() {
  local forms=$1 pattern=$2 word name
  if [[ $lower == @(newest|oldest):* ]]; then
    while IFS= read -r name; do
      COMPREPLY+=("${cur:0:7}$name")
    done < <(compgen -f -- "${cur:7}")
    return 0
  fi
  for word in $forms; do
    [[ $word == "$lower"* ]] && COMPREPLY+=("$word")
  done
  while IFS= read -r name; do
    # shellcheck disable=SC2053 # $pattern is a glob on purpose
    [[ ${name,,} == $pattern* ]] && name=./$name
    COMPREPLY+=("$name")
  done < <(compgen -f -- "$cur")
}

# today-, now-, date:, newest:, oldest: and /tolerance: wait for more: no
# space after them. Those with a colon are no file names, and the file-name
# quoting would escape their colon.
_datora_no_space_after_form() {
  if ((${#COMPREPLY[@]} == 1)) && [[ ${COMPREPLY[0]} == *[-:] ]]; then
    compopt -o nospace 2>/dev/null
    [[ ${COMPREPLY[0]} == @(/tolerance:|date:|newest:|oldest:) ]] &&
      compopt +o filenames 2>/dev/null
  fi
}

complete -o filenames -F _datora datora
