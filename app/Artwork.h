// The launcher's pictures, compiled into the program (tools/artgen draws them
// at build time). Each call returns the encoded file as it would lie on disk,
// ready for TPicture::LoadFromMemory; the bytes live as long as the program.
#pragma once

#include <cstdint>
#include <span>

// The main window's background: JPEG, 2500 × 1667.
std::span<const uint8_t> BackgroundJpeg();
// The right-hand panel's backdrop: PNG with alpha, 400 × 600.
std::span<const uint8_t> BackdropPng();
// The picture of an edition row, edition 1..8 (EListError otherwise). Sizes and
// kinds differ by edition: 128, 64, 256, 128 and 64 pixels with alpha for
// editions 1 to 5, 48 and 64 pixels with a palette for 6 and 7, 64 with alpha
// for 8.
std::span<const uint8_t> EditionPng(int index);
// The map editor button's picture: PNG with alpha, 64 × 64.
std::span<const uint8_t> MapEditorPng();
// The program's icon, for the window: PNG with alpha, 64 × 64.
std::span<const uint8_t> AppIconPng();
