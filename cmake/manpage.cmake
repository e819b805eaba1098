# Makes a manual page from a program's --help, kept as it is under DESCRIPTION. The folders a copy
# names at the end of --help are the build's own, so they are cut and FILES gives the rule.
#   cmake -DPROGRAM=... -DNAME=... -DVERSION=... -DOUT=... -P manpage.cmake
execute_process(COMMAND "${PROGRAM}" --help OUTPUT_VARIABLE help RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help failed (${rc})")
endif()
string(FIND "${help}" "Folders of this copy" cut)
if(cut GREATER -1)
  string(SUBSTRING "${help}" 0 ${cut} help)
endif()
string(STRIP "${help}" help)
# roff: a backslash is written \e, and a line may not begin with a control character.
string(REPLACE "\\" "\\e" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")

if(NAME STREQUAL "vantrel-cli")
  set(summary "write a program into a microcontroller's flash over its serial boot mode")
  set(files [=[
.TP
.I CTRL_MOT
The write-control files and \fIBaud.ini\fR, looked for in the home folder first and then, for an
installed copy, in \fI/usr/share/vantrel/CTRL_MOT\fR (the example CPU types).
.TP
.I @AUTO_PGM\fR, \fI@APP_MOT
The job files of \fB\-\-job\fR and the fixed user program, in the home folder.
.PP
The home folder is the folder of the program when the user may write to it (a copy of one's
own), else \fI$XDG_CONFIG_HOME/vantrel\fR (\fI~/.config/vantrel\fR), which also holds the
window's settings \fIvantrel.ini\fR. \fB\-\-home\fR replaces it. The last lines of
\fB\-\-help\fR and \fB\-\-version\fR name the folders of the copy that runs.
]=])
else()
  set(summary "a simulated microcontroller in serial boot mode on a pseudo-terminal")
  set(files [=[
.TP
.I /usr/share/vantrel/samples
Sample programs and \fIsample.dev\fR, a device description for \fB\-\-device\fR.
]=])
endif()
string(TOUPPER "${NAME}" title)
if(NAME STREQUAL "vantrel-cli")
  set(other vantrel-target)
else()
  set(other vantrel-cli)
endif()
file(WRITE "${OUT}" ".TH ${title} 1 \"\" \"Vantrel ${VERSION}\" \"User Commands\"
.SH NAME
${NAME} \\- ${summary}
.SH DESCRIPTION
.nf
${help}
.fi
.SH FILES
${files}.SH SEE ALSO
.BR vantrel (1),
.BR ${other} (1)
")
