# Puts the packed stored skin into the main window's stored layout: the
# layout in the source tree leaves the stored skin's block empty
# ("CompressedData = {}"), and this writes the block of the packed skin
# file there, so the skin has one source (resources/skin/).
#   cmake -DLAYOUT=Unit1.layout -DSKIN=StoredSkin.skn -DOUTPUT=out.layout -P BindStoredSkin.cmake
foreach(required LAYOUT SKIN OUTPUT)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "BindStoredSkin.cmake: ${required} is not set")
  endif()
endforeach()

file(READ "${LAYOUT}" layout)
# The packed file is the version and the block's length, four bytes each,
# then the block.
file(READ "${SKIN}" block OFFSET 8 HEX)
string(TOUPPER "${block}" block)
# Thirty-two bytes a line, indented under the property, as layouts write
# binary data.
# (CMake's expressions know no counted repeats.)
string(REPEAT "[0-9A-F]" 64 line)
string(REGEX REPLACE "(${line})" "\\1\n      " block "${block}")
string(REGEX REPLACE "\n      $" "" block "${block}")

set(marker "    CompressedData = {}")
string(FIND "${layout}" "${marker}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "BindStoredSkin.cmake: ${LAYOUT} has no empty CompressedData to fill")
endif()
string(REPLACE "${marker}" "    CompressedData = {\n      ${block}}" layout "${layout}")
file(WRITE "${OUTPUT}" "${layout}")
