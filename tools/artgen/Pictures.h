// The launcher's pictures, each drawn from vector shapes and noise at the size
// asked for. Every picture is a pure function of its arguments, so a build
// always produces the same files.
#pragma once

#include <cstdint>

#include "Image.h"

namespace artgen {

// The main window's background: a dusk landscape, bright in the top left where
// the black title sits, dark at the bottom where the white footer sits.
Image RenderBackground(int width, int height, uint32_t seed);
// The light parchment behind the right-hand panel, with soft see-through edges.
Image RenderBackdrop(int width, int height, uint32_t seed);
// The emblem of edition 1..8: each its own silhouette and colour.
Image RenderEdition(int edition, int size);
// The map editor button's picture: a folded map with a route.
Image RenderMapEditor(int size);
// The program's icon for the desktop.
Image RenderAppIcon(int size);

// Helpers shared by the pictures.
// A coverage that is 1 wherever `mask` is 0 and the other way round, over a grid.
Coverage Inverted(const Coverage& mask, int width, int height);
// A grid coverage of min(a, b).
Coverage Intersected(const Coverage& a, const Coverage& b);
// The path of each contour of `shape` stroked as a closed line of `width`.
Path Outline(const Path& shape, float width);

}  // namespace artgen
