// Text converted to code page bytes and back keeps the characters the code page cannot hold.
#pragma once

#include <string>
#include <string_view>

// `bytes` (code page `codePage`, one byte for each character of `original`, as a byte-for-byte
// conversion of WideToAnsi(original) gives) back as UTF-16, where each character of `original`
// that the code page cannot hold comes back in place of its "?". When the lengths do not match,
// plainly `bytes` as UTF-16.
std::u16string KeepUnmappedCharacters(std::u16string_view original, std::string_view bytes, unsigned codePage);
