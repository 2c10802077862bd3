#pragma once
// Whole numbers in text: the settings and score files, and the numbers chosen or typed by
// the user, which live as the text of their controls.
#include <charconv>
#include <stdexcept>
#include <string>

// Whole decimal text with an optional sign; false when it is not a number of `Int`.
template <typename Int>
inline bool ParseInt(const std::string& text, Int& value) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (begin != end && *begin == '+') ++begin;
  auto [ptr, ec] = std::from_chars(begin, end, value);
  return ec == std::errc() && ptr == end && begin != end;
}

// As ParseInt, but a text that is not a number is an error with the usual wording.
inline int TextToInt(const std::string& text) {
  int value = 0;
  if (!ParseInt(text, value)) throw std::runtime_error("'" + text + "' is not a valid integer value");
  return value;
}
