# Turns the 24-bit icon BMPs into the executable's icon: RT_ICON and RT_GROUP_ICON data for windres.
#
#   cmake -DOUTPUT=<file.rc> -DICON_NAME=<resource name> -DPICTURES=<bmp|bmp|...> -P icon_resource.cmake
#
# An icon image is the BMP's bitmap with its height doubled and an all-clear AND mask after it, so
# the data can be written as plain words into the resource script: no .ico file, no extra tool.
cmake_minimum_required(VERSION 3.25)

string(REPLACE "|" ";" PICTURES "${PICTURES}")

set(kRtIcon 3)
set(kRtGroupIcon 14)

# The unsigned little-endian number of `bytes` bytes at byte `offset` of a hex dump.
function(read_le hex offset bytes out)
    set(value "")
    math(EXPR last "${bytes} - 1")
    foreach(i RANGE ${last})
        math(EXPR at "(${offset} + ${i}) * 2")
        string(SUBSTRING "${hex}" ${at} 2 byte)
        string(PREPEND value "${byte}")
    endforeach()
    math(EXPR value "0x${value}")
    set(${out} ${value} PARENT_SCOPE)
endfunction()

set(script "/* Generated from ${CMAKE_CURRENT_LIST_FILE}: do not edit. */\n")
set(group "")
set(count 0)
foreach(picture IN LISTS PICTURES)
    file(READ "${picture}" hex HEX)
    read_le("${hex}" 10 4 pixelOffset)
    read_le("${hex}" 18 4 width)
    read_le("${hex}" 22 4 height)
    read_le("${hex}" 28 2 bitCount)
    read_le("${hex}" 30 4 compression)
    if(NOT bitCount EQUAL 24 OR NOT compression EQUAL 0 OR NOT width EQUAL height OR width GREATER 256)
        message(FATAL_ERROR "${picture}: an icon must be a square, bottom-up, uncompressed 24-bit BMP of at most 256 pixels")
    endif()

    math(EXPR rowBytes "((${width} * 3 + 3) / 4) * 4")
    math(EXPR xorBytes "${rowBytes} * ${height}")
    math(EXPR andBytes "((${width} + 31) / 32) * 4 * ${height}")
    math(EXPR imageBytes "40 + ${xorBytes} + ${andBytes}")
    math(EXPR at "${pixelOffset} * 2")
    math(EXPR length "${xorBytes} * 2")
    string(SUBSTRING "${hex}" ${at} ${length} pixels)
    string(LENGTH "${pixels}" got)
    if(NOT got EQUAL length)
        message(FATAL_ERROR "${picture}: pixel data is cut short")
    endif()
    # Little-endian words, sixteen to a line.
    string(REGEX REPLACE "(..)(..)" "0x\\2\\1," words "${pixels}")
    # (CMake's regular expressions have no {n} repeat.)
    string(REPEAT "0x....," 16 line)
    string(REGEX REPLACE "(${line})" "\\1\n" words "${words}")
    math(EXPR andWords "${andBytes} / 2")
    string(REPEAT "0," ${andWords} mask)
    string(REGEX REPLACE ",$" "" mask "${mask}")

    math(EXPR count "${count} + 1")
    math(EXPR doubled "${height} * 2")
    string(APPEND script
        "${count} ${kRtIcon}\n{\n"
        "40L, ${width}L, ${doubled}L, 1, 24, 0L, ${xorBytes}L, 0L, 0L, 0L, 0L,\n"
        "${words}\n${mask}\n}\n")
    # Width and height 256 are written as 0 in a directory entry.
    math(EXPR side "${width} % 256")
    math(EXPR sides "${side} + ${side} * 256")
    string(APPEND group ",\n${sides}, 0, 1, 24, ${imageBytes}L, ${count}")
endforeach()

if(count EQUAL 0)
    message(FATAL_ERROR "no icon picture given")
endif()
string(APPEND script "${ICON_NAME} ${kRtGroupIcon}\n{\n0, 1, ${count}${group}\n}\n")
file(WRITE "${OUTPUT}" "${script}")
