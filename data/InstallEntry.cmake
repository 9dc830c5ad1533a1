# Installs the menu entry with Exec naming the program by its installed
# path, so that it starts also where the program's folder is not on the
# desktop session's PATH (~/.local/bin often is not). Run at install time,
# when the prefix is known: `cmake --install --prefix` may differ from the
# prefix configured. Set by the caller: REDIVEV_ENTRY_SOURCE, REDIVEV_ENTRY_WORK
# (a folder of the build tree), REDIVEV_BINDIR, REDIVEV_DATADIR.
foreach(Kind BINDIR DATADIR)
  if(IS_ABSOLUTE "${REDIVEV_${Kind}}")
    set(${Kind} "${REDIVEV_${Kind}}")
  else()
    set(${Kind} "${CMAKE_INSTALL_PREFIX}/${REDIVEV_${Kind}}")
  endif()
endforeach()

# Quoted as the entry format asks: inside double quotes a backslash, quote,
# backquote or dollar takes a backslash, a percent sign is doubled; then
# the value's own escaping doubles every backslash.
set(Quoted "${BINDIR}/redivev")
string(REPLACE "\\" "\\\\" Quoted "${Quoted}")
string(REPLACE "\"" "\\\"" Quoted "${Quoted}")
string(REPLACE "`" "\\`" Quoted "${Quoted}")
string(REPLACE "$" "\\$" Quoted "${Quoted}")
string(REPLACE "%" "%%" Quoted "${Quoted}")
string(REPLACE "\\" "\\\\" Quoted "${Quoted}")

file(READ "${REDIVEV_ENTRY_SOURCE}" Entry)
string(REPLACE "\nExec=redivev " "\nExec=\"${Quoted}\" " Entry "${Entry}")
file(MAKE_DIRECTORY "${REDIVEV_ENTRY_WORK}")
file(WRITE "${REDIVEV_ENTRY_WORK}/redivev.desktop" "${Entry}")
file(INSTALL DESTINATION "${DATADIR}/applications" TYPE FILE FILES "${REDIVEV_ENTRY_WORK}/redivev.desktop")
