# Warnings for the project's own targets: on everywhere, fatal when
# QUORVEL_WERROR is set (the debug presets set it).
option(QUORVEL_WERROR "Treat compiler warnings as errors" OFF)

function(quorvel_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
        -Wnon-virtual-dtor -Wold-style-cast)
    if(QUORVEL_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
