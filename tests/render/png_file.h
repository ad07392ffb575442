// RGB frames to and from PNG files, through Cairo's PNG support: the reference frames
// of the render tests and the frames that failed them.
#pragma once

#include <string>
#include <vector>

namespace rt {

// Writes width x height pixels (R, G, B, rows from the bottom as the GL counts). False
// when the file cannot be written.
bool writePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb);
// Reads a PNG into the same layout; false when it is missing or unreadable.
bool readPng(const std::string& path, int* width, int* height, std::vector<unsigned char>* rgb);

}  // namespace rt
