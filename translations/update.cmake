# Brings the catalogs <catalog>_<language>.ts in CATALOG_DIR up to date with the texts of the
# sources under SOURCE_DIR, creating those missing:
#   cmake -DLUPDATE=<lupdate> -DSOURCE_DIR=<repository> -DCATALOG_DIR=<folder> -DLANGUAGES=fr -P update.cmake
# Catalogs carry no source locations and no vanished texts, so that they change only when a text
# does.
foreach(var LUPDATE SOURCE_DIR CATALOG_DIR LANGUAGES)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "update.cmake needs -D${var}=...")
  endif()
endforeach()

# Each catalog with the source folder whose texts it holds.
set(bellwick_sources host)
set(PythonScript_sources src/Plugins/PythonScript)

string(REPLACE "," ";" LANGUAGES "${LANGUAGES}")
foreach(catalog bellwick PythonScript)
  foreach(language IN LISTS LANGUAGES)
    execute_process(
      COMMAND ${LUPDATE} -silent -locations none -no-obsolete -no-ui-lines -target-language ${language}
        ${SOURCE_DIR}/${${catalog}_sources} -ts ${CATALOG_DIR}/${catalog}_${language}.ts
      RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "lupdate failed for ${catalog}_${language}.ts")
    endif()
  endforeach()
endforeach()
