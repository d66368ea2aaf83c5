#pragma once

#include <string>

#include "svg2tga/Image.h"

namespace svg {

// Renders SVG text with librsvg into a straight-alpha RGBA image of width x height pixels,
// the document scaled to fill that viewport. A width or height of 0 takes the document's own
// size (which it must then state). Parse and render failures throw tools::ToolError naming
// `sourceName`, with the line when librsvg reports one.
RgbaImage RenderSvg(const std::string& svgText, const std::string& sourceName, int width = 0,
                    int height = 0);

}  // namespace svg
