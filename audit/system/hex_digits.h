#pragma once
// The one reader of hex digits, shared by every parser of CRCs, hashes and
// escaped names.

// The value of a hex digit of either case; -1 for any other character.
inline int hex_value(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
  return -1;
}
