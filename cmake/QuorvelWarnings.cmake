# Warnings for the project's own targets: on everywhere, fatal when
# QUORVEL_WERROR is set (the debug presets set it).
option(QUORVEL_WERROR "Treat compiler warnings as errors" OFF)

function(quorvel_warnings target)
    if(MSVC)
        # /utf-8: the sources are UTF-8, Chinese captions and control names included.
        target_compile_options(${target} PRIVATE /W4 /permissive- /utf-8)
        if(QUORVEL_WERROR)
            target_compile_options(${target} PRIVATE /WX)
        endif()
        return()
    endif()
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
        -Wnon-virtual-dtor -Wold-style-cast)
    if(QUORVEL_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
