# Fails when the program needs a shared library that a program of Qt alone does not need: the
# start then loads none of the libraries that only a feature uses, which belong in that feature's
# module (vamble_feature_module in the top CMakeLists.txt).
# Usage: cmake -D PROGRAM=... -D QT_ONLY=... -P ProgramLibraries.cmake
function(needed_libraries program out)
    execute_process(COMMAND ldd ${program} OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "ldd cannot list the libraries of ${program}")
    endif()
    string(REGEX MATCHALL "[^\n\t ]+ =>" names "${listing}")
    list(TRANSFORM names REPLACE " =>" "")
    set(${out} ${names} PARENT_SCOPE)
endfunction()

needed_libraries(${PROGRAM} program)
needed_libraries(${QT_ONLY} qt)
list(REMOVE_ITEM program ${qt})
if(program)
    list(JOIN program " " extra)
    message(FATAL_ERROR "${PROGRAM} needs libraries a Qt program alone does not: ${extra}. "
                        "Link a library that only a feature uses into that feature's module.")
endif()
