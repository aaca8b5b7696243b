# Writes a C++ source that holds the exact bytes of one file.
#   cmake -DINPUT=<file> -DOUTPUT=<source> -DFUNCTION=<name> -P embed_file.cmake
# The source defines `std::string_view <name>()` (declared in
# resources/embedded.h), whose view covers every byte of the file and nothing
# more: no terminating zero is counted.
foreach(var INPUT OUTPUT FUNCTION)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "embed_file.cmake: ${var} is not set")
  endif()
endforeach()

file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
get_filename_component(input_name "${INPUT}" NAME)

if(size EQUAL 0)
  set(definition "std::string_view ${FUNCTION}() { return {}; }\n")
else()
  # Sixteen bytes to a line.
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REPEAT "0x..," 16 line_pattern)
  string(REGEX REPLACE "(${line_pattern})" "\\1\n    " bytes "${bytes}")
  string(STRIP "${bytes}" bytes)
  set(definition
"namespace {

constexpr unsigned char kBytes[${size}] = {
    ${bytes}
};

}  // namespace

std::string_view ${FUNCTION}() {
  return {reinterpret_cast<const char*>(kBytes), sizeof kBytes};
}
")
endif()

set(content "// Generated from ${input_name} (${size} bytes); do not edit.
#include \"resources/embedded.h\"

${definition}")

# Rewrite only on a change, so that an unchanged file recompiles nothing.
set(temporary "${OUTPUT}.tmp")
file(WRITE "${temporary}" "${content}")
file(COPY_FILE "${temporary}" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${temporary}")
