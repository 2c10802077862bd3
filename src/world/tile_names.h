#pragma once
// The picture file of every cell code that has one, in loading order (from the cell table).
#include <array>

struct TilePicture {
  int code;
  const char* file;
};

constexpr int TilePictureCount = 88;  // the cell table's rows with a picture
extern const std::array<TilePicture, TilePictureCount> TilePictures;

// "NN-Name.bmp" for a code with a picture, else nullptr.
const char* TilePictureFile(int code);
