// Turns a fuzzer's bytes into program text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Bytes read as UTF-8; a byte that begins no valid sequence becomes U+FFFD,
// and a NUL ends the text as it does in the editor's text.
std::u16string FuzzBytesToText(const uint8_t* data, size_t size);
