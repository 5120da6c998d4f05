// Reading and writing picture files whole, for the picture classes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vark {

// The file's bytes. EFOpenError "Cannot open file "<path>". <reason>" when it
// cannot be opened, EInOutError when reading fails part way.
std::vector<uint8_t> ReadPictureFile(const std::string& path);

// Replaces the file with bytes, atomically. EFCreateError "Cannot create file
// "<path>". <reason>" when it cannot be written.
void WritePictureFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace vark
