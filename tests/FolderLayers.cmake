# Fails when a folder of the program includes a header of a folder above it,
# or defines a member of a class that a folder below it declares: each folder
# may use only the folders listed before it, and a class's code lives beside
# its declaration.
#   cmake -DSOURCE_DIR=... -P FolderLayers.cmake
set(layers text settings template data plot works props ui app)
set(faults "")

# The folder of every class and struct defined in a header.
foreach(folder ${layers})
    file(GLOB headers ${SOURCE_DIR}/${folder}/*.h)
    foreach(header ${headers})
        file(STRINGS ${header} declarations REGEX "^(class|struct) [A-Za-z_][A-Za-z0-9_]*[^;]*$")
        foreach(line ${declarations})
            string(REGEX REPLACE "^(class|struct) ([A-Za-z_][A-Za-z0-9_]*).*" "\\2" class "${line}")
            set(home_${class} ${folder})
        endforeach()
    endforeach()
endforeach()

foreach(folder ${layers})
    list(FIND layers ${folder} own)
    file(GLOB sources ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
    foreach(source ${sources})
        file(RELATIVE_PATH name ${SOURCE_DIR} ${source})
        file(STRINGS ${source} includes REGEX "^#include \"[a-z]+/")
        foreach(line ${includes})
            string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" used "${line}")
            list(FIND layers ${used} other)
            if(other GREATER own)
                string(APPEND faults "${name} includes ${used}/, a folder above ${folder}/\n")
            endif()
        endforeach()
        # Definitions start at the line's start: "void DataSet::openFile(".
        file(STRINGS ${source} definitions
             REGEX "^[A-Za-z_].*[A-Za-z_][A-Za-z0-9_]*::~?[A-Za-z_][A-Za-z0-9_]*\\(")
        foreach(line ${definitions})
            string(REGEX MATCH "[A-Za-z_][A-Za-z0-9_]*::~?[A-Za-z_][A-Za-z0-9_]*\\(" member "${line}")
            string(REGEX REPLACE "::.*" "" class "${member}")
            if(DEFINED home_${class} AND NOT home_${class} STREQUAL folder)
                string(APPEND faults
                       "${name} defines ${member}), declared in ${home_${class}}/, not ${folder}/\n")
            endif()
        endforeach()
    endforeach()
endforeach()
if(faults)
    message(FATAL_ERROR "${faults}")
endif()
