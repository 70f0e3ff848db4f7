# Script mode: writes one embedded file as a byte array and its accessor.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}"
"namespace { constexpr unsigned char ${SYMBOL}Data[${size}] = {\n    ${bytes}\n}; }\n"
"Bytes ${SYMBOL}() { return Bytes(${SYMBOL}Data, sizeof ${SYMBOL}Data); }\n\n")
