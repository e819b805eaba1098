# Makes a manual page from a program's --help (manpage.awk turns its parts into SYNOPSIS,
# DESCRIPTION, OPTIONS, EXIT STATUS and EXAMPLES), with ENVIRONMENT and FILES from here. The
# folders a copy names at the end of --help are the build's own, so they are cut and FILES
# gives the rule.
#   cmake -DPROGRAM=... -DNAME=... -DVERSION=... -DOUT=... -P manpage.cmake
execute_process(COMMAND "${PROGRAM}" --help OUTPUT_VARIABLE help RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help failed (${rc})")
endif()
string(FIND "${help}" "Folders of this copy" cut)
if(cut GREATER -1)
  string(SUBSTRING "${help}" 0 ${cut} help)
endif()
file(WRITE "${OUT}.help" "${help}")
find_program(AWK NAMES awk mawk gawk REQUIRED)
execute_process(COMMAND "${AWK}" -f "${CMAKE_CURRENT_LIST_DIR}/manpage.awk" "${OUT}.help"
                OUTPUT_VARIABLE parts RESULT_VARIABLE rc)
file(REMOVE "${OUT}.help")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "manpage.awk failed on the --help of ${PROGRAM} (${rc})")
endif()
string(FIND "${parts}" "@EXAMPLES@\n" split)
string(SUBSTRING "${parts}" 0 ${split} body)
math(EXPR split "${split} + 11")
string(SUBSTRING "${parts}" ${split} -1 examples)

if(NAME STREQUAL "vantrel-cli")
  set(summary "write a program into a microcontroller's flash over its serial boot mode")
  set(other vantrel-target)
  set(environment [=[
.TP
.B XDG_CONFIG_HOME
The configuration folder of an installed copy: its home folder is
\fI$XDG_CONFIG_HOME/vantrel\fR, else \fI$HOME/.config/vantrel\fR.
.TP
.B TMPDIR
Where the private folder of the merged programs is made (a board job of several
\fIFILE\fRs gets one S-record file of its own there); \fI/tmp\fR when unset.
]=])
  set(files [=[
.TP
.I CTRL_MOT
The write-control files and \fIBaud.ini\fR, looked for in the home folder first
and then, for an installed copy, in \fI/usr/share/vantrel/CTRL_MOT\fR (the example
CPU types).
.TP
.I @AUTO_PGM\fR, \fI@APP_MOT
The job files of \fB\-\-job\fR and the fixed user program, in the home folder.
.TP
.I CpuInf.txt
What an inquiry/selection boot loader reported, in the home folder
(\fICpuInf\-PORT.txt\fR with several ports).
.PP
The home folder is the folder of the program when the user may write to it (a
copy of one's own), else \fI$XDG_CONFIG_HOME/vantrel\fR
(\fI~/.config/vantrel\fR), which also holds the window's settings
\fIvantrel.ini\fR. \fB\-\-home\fR replaces it. The last lines of \fB\-\-help\fR
and \fB\-\-version\fR name the folders of the copy that runs.
]=])
else()
  set(summary "a simulated microcontroller in serial boot mode on a pseudo-terminal")
  set(other vantrel-cli)
  set(environment [=[
\fBvantrel\-target\fR reads no environment variable.
]=])
  set(files [=[
.TP
.I /usr/share/vantrel/samples
Sample programs and \fIsample.dev\fR, a device description for \fB\-\-device\fR.
]=])
endif()
string(TOUPPER "${NAME}" title)
string(REPLACE "-" "\\-" roffname "${NAME}")
file(WRITE "${OUT}" ".TH ${title} 1 \"\" \"Vantrel ${VERSION}\" \"User Commands\"
.nr HY 0
.nh
.ad l
.SH NAME
${roffname} \\- ${summary}
${body}.SH ENVIRONMENT
${environment}.SH FILES
${files}${examples}.SH \"SEE ALSO\"
.BR vantrel (1),
.BR ${other} (1)
")
