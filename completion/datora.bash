# Bash completion for datora.
#
# The first word is a file or directory. After it come the stamp keywords,
# the relation keywords, "not" and the options. While the relation keywords
# on the line leave a relation named (each one toggles its relation, so
# naming one twice cancels it), the second operand is offered too: file
# names and the forms today, today-, now, now- and date:. A name that begins
# with "today", "now" or "date:" would be read as an expression, so it is
# offered as ./name. Keywords match whatever the case typed.

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
    mapfile -t COMPREPLY < <(compgen -f -- "$cur")
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
  local offered="created modified accessed before after sametime not"
  offered+=" /datelocal /dateutc /debug /dst /tolerance:"
  local relation=0 i
  for ((i = 2; i < cword; i++)); do
    case ${words[i],,} in
      sametime) ((relation ^= 1)) ;;
      before) ((relation ^= 2)) ;;
      after) ((relation ^= 4)) ;;
    esac
  done
  if ((relation)); then
    offered+=" today today- now now- date:"
  fi

  local word
  for word in $offered; do
    [[ $word == "$lower"* ]] && COMPREPLY+=("$word")
  done
  if ((relation)); then
    local name
    while IFS= read -r name; do
      [[ ${name,,} == @(today|now|date:)* ]] && name=./$name
      COMPREPLY+=("$name")
    done < <(compgen -f -- "$cur")
  fi

  # today-, now-, date: and /tolerance: wait for a number: no space after
  # them. date: and /tolerance: are no file names, and the file-name quoting
  # would escape their colon.
  if ((${#COMPREPLY[@]} == 1)) && [[ ${COMPREPLY[0]} == *[-:] ]]; then
    compopt -o nospace 2>/dev/null
    [[ ${COMPREPLY[0]} == @(/tolerance:|date:) ]] && compopt +o filenames 2>/dev/null
  fi
}

complete -o filenames -F _datora datora
