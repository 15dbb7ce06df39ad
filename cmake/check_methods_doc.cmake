# Fails when docs/methods.md is not what the method table generates.
#   cmake -DCLI=<armocalc> -DDOC=<source dir>/docs/methods.md -P check_methods_doc.cmake
execute_process(COMMAND ${CLI} methods --markdown OUTPUT_VARIABLE generated RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${CLI} methods --markdown failed (${status})")
endif()
if(EXISTS ${DOC})
  file(READ ${DOC} stored)
else()
  set(stored "")
endif()
if(NOT generated STREQUAL stored)
  message(FATAL_ERROR "${DOC} is not what the method table generates. Regenerate it with:\n"
                      "  ${CLI} methods --markdown > ${DOC}")
endif()
