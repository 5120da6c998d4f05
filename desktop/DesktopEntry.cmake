# Writes the desktop entry at install time, when the final prefix is known
# (cmake --install --prefix may differ from the configured one).
#   VALDOR_DESKTOP_TEMPLATE  the .desktop.in file
#   VALDOR_DESKTOP_BINDIR    the program's folder, absolute or under the prefix
#   VALDOR_DESKTOP_DATADIR   the share folder, absolute or under the prefix
#   VALDOR_DESKTOP_STAGING   where the finished entry is written before it is installed
#   CMAKE_INSTALL_PREFIX     set by cmake --install (file(INSTALL) adds DESTDIR)

# A value of type string in a desktop entry: backslash and control characters
# are escaped.
function(desktop_string_escape out value)
  string(REPLACE "\\" "\\\\" value "${value}")
  string(REPLACE "\n" "\\n" value "${value}")
  string(REPLACE "\t" "\\t" value "${value}")
  string(REPLACE "\r" "\\r" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

# One argument of the Exec key: quoted as a whole, with ", `, $ and \ escaped
# inside the quotes and % doubled (field codes), then escaped as a string, so
# a folder with blanks, quotes or a dollar sign still names the program.
function(desktop_exec_argument out value)
  string(REPLACE "\\" "\\\\" value "${value}")
  string(REPLACE "\"" "\\\"" value "${value}")
  string(REPLACE "`" "\\`" value "${value}")
  string(REPLACE "$" "\\$" value "${value}")
  string(REPLACE "%" "%%" value "${value}")
  desktop_string_escape(value "\"${value}\"")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

function(under_prefix out dir)
  if(IS_ABSOLUTE "${dir}")
    set(${out} "${dir}" PARENT_SCOPE)
  else()
    set(${out} "${CMAKE_INSTALL_PREFIX}/${dir}" PARENT_SCOPE)
  endif()
endfunction()

under_prefix(bindir "${VALDOR_DESKTOP_BINDIR}")
under_prefix(datadir "${VALDOR_DESKTOP_DATADIR}")
set(program "${bindir}/valdor-launcher")
desktop_exec_argument(VALDOR_DESKTOP_EXEC "${program}")
desktop_string_escape(VALDOR_DESKTOP_TRYEXEC "${program}")
# The launcher finds the editions beside its working folder ("..\Valdor III
# ..."), so from the menu it starts in its own folder: the editions go beside
# bin/, in the prefix.
desktop_string_escape(VALDOR_DESKTOP_PATH "${bindir}")

set(staged "${VALDOR_DESKTOP_STAGING}/valdor-launcher.desktop")
configure_file("${VALDOR_DESKTOP_TEMPLATE}" "${staged}" @ONLY)
file(INSTALL DESTINATION "${datadir}/applications" TYPE FILE FILES "${staged}")
