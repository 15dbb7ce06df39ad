# Installs the build into a fresh temporary prefix and runs the installed armocalc through PATH.
#   cmake -DBUILD=<build dir> -DVERSION=<x.y.z> -P check_install.cmake
string(RANDOM LENGTH 8 tag)
set(prefix ${BUILD}/install-test-${tag})
file(REMOVE_RECURSE ${prefix})

function(fail message)
  file(REMOVE_RECURSE ${prefix})
  message(FATAL_ERROR "${message}")
endfunction()

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix}
                RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT status EQUAL 0)
  fail("cmake --install failed:\n${log}")
endif()
foreach(file bin/armocalc share/doc/armocalc/methods.md share/doc/armocalc/README.md)
  if(NOT EXISTS ${prefix}/${file})
    fail("the installation lacks ${file}")
  endif()
endforeach()

set(path "${prefix}/bin:$ENV{PATH}")
execute_process(COMMAND env "PATH=${path}" armocalc --version
                RESULT_VARIABLE status OUTPUT_VARIABLE version)
if(NOT status EQUAL 0 OR NOT version STREQUAL "armocalc ${VERSION}\n")
  fail("the installed armocalc answers --version with '${version}' (${status})")
endif()
execute_process(COMMAND env "PATH=${path}" armocalc mtBetonB KlassBetona=25
                RESULT_VARIABLE status OUTPUT_VARIABLE answer)
if(NOT status EQUAL 0 OR NOT answer MATCHES "^result = 13.0\n")
  fail("the installed armocalc computes '${answer}' (${status})")
endif()
file(REMOVE_RECURSE ${prefix})
