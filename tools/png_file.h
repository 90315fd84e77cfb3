#pragma once

#include <cstdint>
#include <string>

// Writes a top-down RGB picture (width x 3 bytes per row) as a PNG. The file appears under
// `path` only when it was written whole: it is written under a temporary name beside it and
// renamed. On failure returns false, removes the temporary file and says why in *error.
bool WritePngFile(const std::string& path, const uint8_t* rgb, int32_t width, int32_t height,
                  std::string* error);

// Whether a file can be created in `folder`: creates and removes a probe file there.
bool CanCreateFilesIn(const std::string& folder, std::string* error);
