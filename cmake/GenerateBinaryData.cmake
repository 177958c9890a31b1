# Script mode (cmake -P): writes BinaryData.h and BinaryData.cpp into OUTPUT_DIR from the files in
# RESOURCES ('|'-separated). Each file becomes a byte array followed by one zero byte that its size
# does not count; its identifier is its file name with '.' turned into '_' and any character other
# than a letter, a digit or '_' dropped ("Roboto-Regular.ttf" -> RobotoRegular_ttf).

string(REPLACE "|" ";" resources "${RESOURCES}")
list(LENGTH resources RESOURCE_COUNT)

set(DECLARATIONS "")
set(ARRAYS "")
set(DEFINITIONS "")
set(ENTRIES "")
set(NAMES "")
set(FILENAMES "")

set(index 0)
foreach(path IN LISTS resources)
    get_filename_component(fileName "${path}" NAME)
    string(REPLACE "." "_" identifier "${fileName}")
    string(REGEX REPLACE "[^A-Za-z0-9_]" "" identifier "${identifier}")

    file(READ "${path}" hex HEX)
    string(LENGTH "${hex}" hexLength)
    math(EXPR size "${hexLength} / 2")

    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    # 16 bytes a line keeps the generated file readable (CMake's regex has no {n} repeat).
    string(REPEAT "0x[0-9a-f][0-9a-f]," 16 line)
    string(REGEX REPLACE "(${line})" "\\1\n" bytes "${bytes}")

    string(APPEND DECLARATIONS "extern const char* ${identifier};\nconst int ${identifier}Size = ${size};\n\n")
    string(APPEND ARRAYS "const unsigned char resource${index}[] = {\n${bytes}0};\n\n")
    string(APPEND DEFINITIONS "const char* ${identifier} = reinterpret_cast<const char*>(resource${index});\n")
    string(APPEND ENTRIES "    {nameHash(\"${identifier}\"), resource${index}, ${identifier}Size},\n")
    string(APPEND NAMES "\"${identifier}\", ")
    string(APPEND FILENAMES "\"${fileName}\", ")
    math(EXPR index "${index} + 1")
endforeach()

set(templates "${CMAKE_CURRENT_LIST_DIR}")
configure_file("${templates}/BinaryData.h.in" "${OUTPUT_DIR}/BinaryData.h" @ONLY)
configure_file("${templates}/BinaryData.cpp.in" "${OUTPUT_DIR}/BinaryData.cpp" @ONLY)
