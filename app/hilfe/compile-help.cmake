# Compiles the help project with chmcmd in a clean work folder and copies the result to OUTPUT.
# chmcmd exits with 0 even when it rejects a project, so its output and result are checked.
# Variables: CHMCMD, SOURCE (the folder of FNHilfe.hhp), WORK, OUTPUT.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(GLOB sources "${SOURCE}/*.css" "${SOURCE}/*.hhc" "${SOURCE}/*.hhk" "${SOURCE}/*.hhp" "${SOURCE}/*.h")
file(COPY ${sources} DESTINATION "${WORK}")
# A topic's source is its <title> line and its body; the page around them is the same for every
# topic and is written here.
file(GLOB topics "${SOURCE}/*.htm")
foreach(topic ${topics})
  file(READ "${topic}" text)
  string(REGEX MATCH "^<title>[^\n]*</title>\n" title "${text}")
  if(NOT title)
    message(FATAL_ERROR "${topic}: the first line must be the topic's <title>")
  endif()
  string(LENGTH "${title}" title_length)
  string(SUBSTRING "${text}" ${title_length} -1 body)
  get_filename_component(name "${topic}" NAME)
  file(WRITE "${WORK}/${name}"
       "<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\n"
       "${title}<link rel=\"stylesheet\" type=\"text/css\" href=\"hilfe.css\">\n</head>\n<body>\n"
       "${body}</body>\n</html>\n")
endforeach()
execute_process(COMMAND "${CHMCMD}" FNHilfe.hhp
                WORKING_DIRECTORY "${WORK}" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR "${out}${err}" MATCHES "corrupt|Error|not found|Can't" OR NOT EXISTS "${WORK}/FNHilfe.chm")
  message(FATAL_ERROR "chmcmd could not compile the help file:\n${out}${err}")
endif()
get_filename_component(folder "${OUTPUT}" DIRECTORY)
file(MAKE_DIRECTORY "${folder}")
file(COPY_FILE "${WORK}/FNHilfe.chm" "${OUTPUT}")
