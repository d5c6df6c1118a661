# Where an installed tree keeps each part, and the relative paths between them: the installed
# host finds its libraries, its plug-in and its translations from its own folder, whatever the
# prefix.
include(GNUInstallDirs)

set(BELLWICK_INSTALL_PLUGINSDIR ${CMAKE_INSTALL_LIBDIR}/bellwick/plugins)
set(BELLWICK_INSTALL_TRANSLATIONSDIR ${CMAKE_INSTALL_DATADIR}/bellwick/translations)
set(BELLWICK_INSTALL_EXAMPLESDIR ${CMAKE_INSTALL_DATADIR}/bellwick/examples)
set(BELLWICK_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/bellwick)
set(BELLWICK_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Bellwick)

# bellwick_relative_path(<var> <from> <to>): the path from one install folder to another.
function(bellwick_relative_path var from to)
  file(RELATIVE_PATH relative /prefix/${from} /prefix/${to})
  string(REGEX REPLACE "/$" "" relative "${relative}")
  set(${var} ${relative} PARENT_SCOPE)
endfunction()

bellwick_relative_path(BELLWICK_BIN_TO_LIB ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_LIBDIR})
bellwick_relative_path(BELLWICK_BIN_TO_PLUGINS ${CMAKE_INSTALL_BINDIR} ${BELLWICK_INSTALL_PLUGINSDIR})
bellwick_relative_path(BELLWICK_BIN_TO_TRANSLATIONS ${CMAKE_INSTALL_BINDIR} ${BELLWICK_INSTALL_TRANSLATIONSDIR})
# A plug-in has a folder of its own under the plug-in folder.
bellwick_relative_path(BELLWICK_PLUGIN_TO_LIB ${BELLWICK_INSTALL_PLUGINSDIR}/plugin ${CMAKE_INSTALL_LIBDIR})

# The build tree keeps the translations where the host looks for them once installed.
get_filename_component(BELLWICK_BUILD_TRANSLATIONSDIR
  ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${BELLWICK_BIN_TO_TRANSLATIONS} ABSOLUTE)
