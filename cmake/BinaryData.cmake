# Compiles the editor's typeface and logos into the plug-in as the BinaryData namespace, so the
# window needs no files beside the binary. The font is not kept in the repository: it is taken at
# build time from Debian's fonts-roboto-unhinted package.

set(QUORVEL_ROBOTO_FONT "/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Regular.ttf"
    CACHE FILEPATH "Roboto Regular TrueType file embedded as the editor's typeface")

function(quorvel_add_binary_data target)
    if(NOT EXISTS "${QUORVEL_ROBOTO_FONT}")
        message(FATAL_ERROR "Roboto Regular not found at ${QUORVEL_ROBOTO_FONT}: "
                            "install fonts-roboto-unhinted or set QUORVEL_ROBOTO_FONT")
    endif()

    # The order here is the order of namedResourceList and originalFilenames.
    set(resources
        "${QUORVEL_ROBOTO_FONT}"
        "${PROJECT_SOURCE_DIR}/resources/Quorvel_Logo.svg"
        "${PROJECT_SOURCE_DIR}/resources/TW_Vector.svg")

    set(outputDir "${CMAKE_CURRENT_BINARY_DIR}/binary_data")
    set(generator "${PROJECT_SOURCE_DIR}/cmake/GenerateBinaryData.cmake")
    # Passed as one argument: a plain CMake list would be split into several.
    string(REPLACE ";" "|" resourceArgument "${resources}")

    add_custom_command(
        OUTPUT "${outputDir}/BinaryData.h" "${outputDir}/BinaryData.cpp"
        COMMAND "${CMAKE_COMMAND}" "-DRESOURCES=${resourceArgument}" "-DOUTPUT_DIR=${outputDir}"
                -P "${generator}"
        DEPENDS ${resources} "${generator}"
                "${PROJECT_SOURCE_DIR}/cmake/BinaryData.h.in"
                "${PROJECT_SOURCE_DIR}/cmake/BinaryData.cpp.in"
        COMMENT "Embedding the editor's font and logos"
        VERBATIM)

    target_sources(${target} PRIVATE "${outputDir}/BinaryData.h" "${outputDir}/BinaryData.cpp")
    target_include_directories(${target} PUBLIC "${outputDir}")
endfunction()
