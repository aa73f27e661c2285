# Checks that the source folders include one another only downwards:
#   app -> windows (mainwin, then guide, quiz, about, recordwin, then settings) -> forms
#   -> controls
#   -> print -> rtf; question, platform
# Usage: cmake -DSOURCE_DIR=<folder of the subsystem folders> -P check_layers.cmake
# Lists every include against the direction and fails if there is one.
#
# Each folder names what it may include: whole folders, or single headers
# where a folder may use one header of a higher one. "version.h" is the
# generated header of product constants; it includes nothing.
cmake_minimum_required(VERSION 3.25)

set(allowed_question question)
# The RTF codec and the platform seams know nothing of widgets or windows.
set(allowed_rtf rtf)
# Pages are laid out from the RTF model alone, without widgets.
set(allowed_print print rtf)
set(allowed_platform platform)
# The practice record stands alone below the windows that keep and show it.
set(allowed_record record)
set(allowed_controls controls question rtf print platform version.h)
set(allowed_forms forms controls question rtf print platform version.h)
set(window_layers forms controls question rtf print platform version.h app/forms_registry.h)
# "出题设置" is a window that the wizard and the quiz open and read.
set(allowed_settings settings ${window_layers})
set(allowed_guide guide settings ${window_layers})
set(allowed_quiz quiz record settings ${window_layers})
set(allowed_about about ${window_layers})
# The practice record's window reads the record and hands a redo to the quiz
# through the registry.
set(allowed_recordwin recordwin record ${window_layers})
# The main window opens the other windows.
set(allowed_masterywin masterywin record ${window_layers})
set(allowed_mainwin mainwin guide quiz about record recordwin masterywin settings ${window_layers})
set(allowed_app app mainwin guide quiz about record recordwin masterywin settings ${window_layers})

if(NOT IS_DIRECTORY "${SOURCE_DIR}")
    message(FATAL_ERROR "No source folder given: -DSOURCE_DIR=...")
endif()
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)

set(problems)
file(GLOB folders LIST_DIRECTORIES true RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*")
list(SORT folders)
foreach(folder IN LISTS folders)
    if(IS_DIRECTORY "${SOURCE_DIR}/${folder}" AND NOT DEFINED allowed_${folder})
        list(APPEND problems "${folder}/: a folder with no rule")
    endif()
endforeach()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
list(SORT sources)
foreach(source IN LISTS sources)
    if(NOT source MATCHES "^([^/]+)/")
        continue()
    endif()
    set(folder "${CMAKE_MATCH_1}")
    if(NOT DEFINED allowed_${folder})
        continue() # reported above
    endif()
    get_filename_component(source_dir "${SOURCE_DIR}/${source}" DIRECTORY)
    file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
        string(REGEX MATCH "\"([^\"]+)\"" unused "${line}")
        set(header "${CMAKE_MATCH_1}")
        if(header MATCHES "^([^/]+)/")
            set(target "${CMAKE_MATCH_1}")
        elseif(EXISTS "${source_dir}/${header}")
            set(target "${folder}") # beside the file itself
        else()
            set(target "${header}")
        endif()
        if(NOT target IN_LIST allowed_${folder} AND NOT header IN_LIST allowed_${folder})
            list(APPEND problems "${source}: ${header}")
        endif()
    endforeach()
endforeach()

if(problems)
    list(LENGTH problems count)
    list(JOIN problems "\n  - " listed)
    message("Includes against the direction of the layers:\n  - ${listed}")
    message(FATAL_ERROR "${count} includes against the layers")
endif()
