# Writes a C++ source that carries one file as a byte array, so that the
# program reads no file at run time:
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DHEADER=app/Resources.h
#         -DNAMESPACE=app -DFUNCTION=StoredMainFormLayout -P EmbedFile.cmake
# The function answers the bytes as a std::string_view. A zero byte follows
# the data (not counted), so an empty file still makes a valid array.
foreach(required INPUT OUTPUT HEADER NAMESPACE FUNCTION)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "EmbedFile.cmake: ${required} is not set")
  endif()
endforeach()

file(READ "${INPUT}" bytes HEX)
string(LENGTH "${bytes}" digits)
math(EXPR size "${digits} / 2")
# Sixteen bytes a line keeps the generated file readable in a diff.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")

get_filename_component(name "${INPUT}" NAME)
set(text "// Generated from ${name} at build time; do not edit.
#include \"${HEADER}\"

namespace ${NAMESPACE} {

namespace {
const unsigned char Data[${size} + 1] = {
    ${bytes}0x00};
}  // namespace

std::string_view ${FUNCTION}() { return {reinterpret_cast<const char*>(Data), ${size}}; }

}  // namespace ${NAMESPACE}
")

file(WRITE "${OUTPUT}" "${text}")
