# Installs the build into an empty PREFIX, so that nothing left from an earlier
# install can stand in for a file the install rules forgot.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Installing ${BUILD} into ${PREFIX} failed: ${result}")
endif()
