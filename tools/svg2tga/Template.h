#pragma once

#include <map>
#include <string>
#include <vector>

namespace svg {

using Vars = std::map<std::string, std::string>;

// Replaces every "{{name}}" in `text` by vars[name] (spaces inside the braces are allowed);
// "{{name:0N}}" pads the value with leading zeros to N characters.
// A placeholder that is not closed, has an empty or malformed name (letters, digits, '_'),
// or names no variable throws tools::ToolError at `sourceName`:line of the placeholder.
std::string ExpandPlaceholders(const std::string& text, const Vars& vars,
                               const std::string& sourceName);

// One image of a family, ready to render.
struct FamilyImage {
    // Output file name (also the archive entry name).
    std::string name;
    // Path of the template SVG it came from, as given in the description.
    std::string templatePath;
    // The SVG text with every placeholder filled in.
    std::string svgText;
    // Requested size; 0 means the document's own size.
    int width = 0;
    int height = 0;
};

// Expands a family description (JSON; see docs/formats/image-family.md) into its images.
// Template paths are relative to the description's folder. Every fault is reported as
// "description:line: message" or, for template placeholders, "template:line: message".
std::vector<FamilyImage> ExpandFamily(const std::string& descriptionPath);

// Same, for a description already in memory; template paths are relative to `baseDir`.
std::vector<FamilyImage> ExpandFamilyText(const std::string& jsonText,
                                          const std::string& descriptionName,
                                          const std::string& baseDir);

}  // namespace svg
