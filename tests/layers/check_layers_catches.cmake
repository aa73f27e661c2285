# The layer check itself: on a small tree that breaks each rule once, next
# to includes each rule allows, it must fail and list exactly the breaches.
# Usage: cmake -DCHECKER=<check_layers.cmake> -DFIXTURE=<tree> -P check_layers_catches.cmake
cmake_minimum_required(VERSION 3.25)

get_filename_component(FIXTURE "${FIXTURE}" ABSOLUTE)
execute_process(COMMAND "${CMAKE_COMMAND}" -DSOURCE_DIR=${FIXTURE}/src -P "${CHECKER}"
                RESULT_VARIABLE result ERROR_VARIABLE output)
if(result EQUAL 0)
    message(FATAL_ERROR "The check passed a tree with includes against the layers:\n${output}")
endif()
string(REGEX MATCHALL "\n  - [^\n]+" found "${output}")
list(TRANSFORM found REPLACE "^\n  - " "")
file(STRINGS "${FIXTURE}/expected.txt" expected)
# In any order: formatting the fixture may sort its includes.
list(SORT found)
list(SORT expected)
if(NOT found STREQUAL expected)
    list(JOIN found "\n" found_text)
    list(JOIN expected "\n" expected_text)
    message(FATAL_ERROR "Reported:\n${found_text}\n\nExpected:\n${expected_text}")
endif()
