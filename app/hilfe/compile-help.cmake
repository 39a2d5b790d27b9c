# Compiles the help project with chmcmd in a clean work folder and copies the result to OUTPUT.
# chmcmd exits with 0 even when it rejects a project, so its output and result are checked.
# Variables: CHMCMD, SOURCE (the folder of FNHilfe.hhp), WORK, OUTPUT.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(GLOB sources "${SOURCE}/*.htm" "${SOURCE}/*.css" "${SOURCE}/*.hhc" "${SOURCE}/*.hhk"
                  "${SOURCE}/*.hhp" "${SOURCE}/*.h")
file(COPY ${sources} DESTINATION "${WORK}")
execute_process(COMMAND "${CHMCMD}" FNHilfe.hhp
                WORKING_DIRECTORY "${WORK}" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR "${out}${err}" MATCHES "corrupt|Error|not found|Can't" OR NOT EXISTS "${WORK}/FNHilfe.chm")
  message(FATAL_ERROR "chmcmd could not compile the help file:\n${out}${err}")
endif()
get_filename_component(folder "${OUTPUT}" DIRECTORY)
file(MAKE_DIRECTORY "${folder}")
file(COPY_FILE "${WORK}/FNHilfe.chm" "${OUTPUT}")
