# Turns a program's --help into the sections of a manual page, for manpage.cmake.
#   awk -f manpage.awk HELP   (POSIX awk: mawk and gawk alike)
# The help's own layout is the grammar: "Usage:" lines, then paragraphs; a line ending in ':'
# after a blank line heads a part ("Options:", "Exit codes:", "Examples:", or a subsection);
# "  TERM  text" lines with deeper-indented continuations are entries; in "Examples:" the
# indented lines are commands, kept as they are. The EXAMPLES section is printed after a line
# "@EXAMPLES@" so that manpage.cmake can put FILES and ENVIRONMENT before it.

# Text for roff: a backslash is \e, every - is \- (an ASCII hyphen-minus in every output, as an
# option must be typed), and a line may not begin with a control character.
function esc(s) {
  gsub(/\\/, "\\e", s)
  gsub(/-/, "\\-", s)
  if (s ~ /^[.']/) s = "\\&" s
  return s
}

# An option's word in bold, a placeholder (DIR, FILE.json) in italics, brackets and literal
# values (10ms|fast) as they are.
function word(w,    head, tail, core) {
  match(w, /^\[*/)
  head = substr(w, 1, RLENGTH)
  core = substr(w, RLENGTH + 1)
  tail = core; sub(/^.*[^].,]/, "", tail)
  core = substr(core, 1, length(core) - length(tail))
  if (core ~ /^-/) core = "\\fB" esc(core) "\\fR"
  else if (core ~ /^[A-Z]/) core = "\\fI" esc(core) "\\fR"
  else core = esc(core)
  return head core tail
}

# Words split at sep, each formatted, joined by glue.
function words(s, sep, glue,    n, parts, i, out) {
  n = split(s, parts, sep)
  out = ""
  for (i = 1; i <= n; i++) out = out (i > 1 ? glue : "") word(parts[i])
  return out
}

# A usage form: a line breaks only between the words outside brackets.
function form(s,    i, c, depth, out, piece) {
  depth = 0; out = ""; piece = ""
  for (i = 1; i <= length(s); i++) {
    c = substr(s, i, 1)
    if (c == "[") depth++
    if (c == "]") depth--
    if (c == " " && depth == 0) {
      out = out words(piece, "\001", "\\ ") " "; piece = ""
    } else if (c == " ") {
      piece = piece "\001"
    } else {
      piece = piece c
    }
  }
  return out words(piece, "\001", "\\ ")
}

function emit(s) {
  if (section == "EXAMPLES") examples = examples s "\n"
  else body = body s "\n"
}

function start(name) {
  section = name
  mode = "start"
  emit(".SH \"" name "\"")
}

function flushform() {
  if (synopsis == "") return
  body = body ".SY " esc(program) "\n" form(synopsis) "\n.YS\n"
  synopsis = ""
}

BEGIN { state = "usage"; section = ""; blank = 1; program = "" }

{
  line = $0
  sub(/[ \t]+$/, "", line)
}

state == "usage" {
  if (line == "") {
    flushform()
    state = "text"
    start("DESCRIPTION")
    blank = 1
    next
  }
  rest = line
  sub(/^(Usage:)? +/, "", rest)
  split(rest, first, / /)
  if (program == "") {
    program = first[1]
    body = ".SH SYNOPSIS\n"
  }
  if (first[1] == program) {
    flushform()
    synopsis = substr(rest, length(program) + 2)
  } else {
    synopsis = synopsis " " rest
  }
  next
}

line == "" {
  if (mode == "code") emit(".EE")
  if (mode != "") mode = "gap"
  blank = 1
  next
}

blank && line ~ /^[^ ].*:$/ {
  heading = substr(line, 1, length(line) - 1)
  if (heading == "Options") start("OPTIONS")
  else if (heading == "Exit codes") start("EXIT STATUS")
  else if (heading ~ /^Examples?$/) start("EXAMPLES")
  else { emit(".SS \"" esc(heading) "\""); mode = "" }
  blank = 0
  next
}

section == "EXAMPLES" && line ~ /^ / {
  if (mode != "code") emit((mode == "start" ? "" : ".PP\n") ".EX")
  mode = "code"
  sub(/^  /, "", line)
  emit(esc(line))
  blank = 0
  next
}

line ~ /^  [^ ]/ {
  term = substr(line, 3)
  text = ""
  if (match(term, /  +/)) {
    text = substr(term, RSTART + RLENGTH)
    term = substr(term, 1, RSTART - 1)
  }
  emit(".TP")
  emit(term ~ /^-/ ? words(term, " ", " ") : "\\fB" esc(term) "\\fR")
  if (text != "") emit(esc(text))
  mode = "entry"
  blank = 0
  next
}

mode == "entry" && line ~ /^   / {
  sub(/^ +/, "", line)
  emit(esc(line))
  next
}

{
  if (mode == "code") emit(".EE")
  if (mode != "text" && mode != "start") emit(".PP")
  mode = "text"
  emit(esc(line))
  blank = 0
}

END {
  if (mode == "code") emit(".EE")
  printf "%s@EXAMPLES@\n%s", body, examples
}
