# The constants a build fixes in the program: where the shortening service
# listens and the publisher's address that the hyperlink opens. Nothing is
# read at run time.
set(QUORVEL_SERVICE_HOST "127.0.0.1:8470" CACHE STRING
        "host[:port] of the shortening service the program asks")
set(QUORVEL_PUBLISHER_URL "" CACHE STRING
        "address the hyperlink opens (empty: the service's home page)")

# quorvel_bake_constants(TARGET [SERVICE_HOST host] [PUBLISHER_URL url]):
# compiles the constants into TARGET as QUORVEL_SERVICE_HOST and
# QUORVEL_PUBLISHER_URL string macros; a test build passes its own host.
function(quorvel_bake_constants target)
    cmake_parse_arguments(arg "" "SERVICE_HOST;PUBLISHER_URL" "" ${ARGN})
    if(NOT arg_SERVICE_HOST)
        set(arg_SERVICE_HOST "${QUORVEL_SERVICE_HOST}")
    endif()
    if(NOT arg_PUBLISHER_URL)
        set(arg_PUBLISHER_URL "${QUORVEL_PUBLISHER_URL}")
    endif()
    if(NOT arg_PUBLISHER_URL)
        set(arg_PUBLISHER_URL "http://${arg_SERVICE_HOST}/")
    endif()
    target_compile_definitions(${target} PRIVATE
        "QUORVEL_SERVICE_HOST=\"${arg_SERVICE_HOST}\""
        "QUORVEL_PUBLISHER_URL=\"${arg_PUBLISHER_URL}\"")
endfunction()
