# Turns a lab file into a C++ source defining lab::defaultLabJson().
# Usage: cmake -DINPUT=lab.json -DOUTPUT=out.cpp -P embed_lab.cmake
file(READ "${INPUT}" _hex HEX)
string(LENGTH "${_hex}" _len)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," _bytes "${_hex}")
# Break the initialiser into lines of 16 bytes for the compiler's sake.
string(REGEX REPLACE "(('[^']+',){16})" "\\1\n" _bytes "${_bytes}")
math(EXPR _size "${_len} / 2")
file(WRITE "${OUTPUT}.tmp" "// Generated from ${INPUT}; do not edit.\n"
  "#include <string_view>\n"
  "namespace lab {\n"
  "namespace {\n"
  "constexpr char kDefaultLab[] = {\n${_bytes}'\\0'};\n"
  "}  // namespace\n"
  "std::string_view defaultLabJson() { return {kDefaultLab, ${_size}}; }\n"
  "}  // namespace lab\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
