// svg2tga: renders SVG sources, alone or as templated families, to run-length Targa files.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/FileIO.h"
#include "common/Progress.h"
#include "common/ToolError.h"
#include "common/ToolMain.h"
#include "svg2tga/Png.h"
#include "svg2tga/SvgRender.h"
#include "svg2tga/Targa.h"
#include "svg2tga/Template.h"

namespace fs = std::filesystem;

namespace {

const char kUsage[] =
    "usage: svg2tga render SOURCE.svg OUTPUT.tga|OUTPUT.png [--size WxH] [--var NAME=VALUE]...\n"
    "       svg2tga family FAMILY.json FOLDER [--manifest LIST.pack]\n"
    "       svg2tga list FAMILY.json\n"
    "\n"
    "render  renders one SVG; {{NAME}} placeholders are filled from --var.\n"
    "        Without --size the SVG's own width and height are used.\n"
    "family  expands a family description (template SVG + JSON, see docs/formats/\n"
    "        image-family.md) into many images written to FOLDER, and writes a t2gpack\n"
    "        manifest of them (default FOLDER/<family name>.pack).\n"
    "list    prints the image names a family description makes.\n"
    "\n"
    "Output: run-length Targa (24-bit when opaque, else 32-bit), bottom row first, straight\n"
    "alpha; render writes an RGBA PNG instead when OUTPUT ends in .png (pictures for the\n"
    "desktop, not the program).\n";

void ParseSize(const std::string& text, int& w, int& h) {
    auto x = text.find('x');
    try {
        if (x == std::string::npos) throw std::invalid_argument("");
        w = std::stoi(text.substr(0, x));
        h = std::stoi(text.substr(x + 1));
    } catch (const std::exception&) {
        throw tools::ToolError("--size wants WIDTHxHEIGHT, got '" + text + "'");
    }
    if (w < 1 || h < 1 || w > 4096 || h > 4096) throw tools::ToolError("--size out of range");
}

int Render(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    svg::Vars vars;
    int w = 0, h = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--size" && i + 1 < args.size()) {
            ParseSize(args[++i], w, h);
        } else if (args[i] == "--var" && i + 1 < args.size()) {
            const std::string& kv = args[++i];
            auto eq = kv.find('=');
            if (eq == std::string::npos) throw tools::ToolError("--var wants NAME=VALUE");
            vars[kv.substr(0, eq)] = kv.substr(eq + 1);
        } else if (!args[i].empty() && args[i][0] == '-') {
            throw tools::ToolError("unknown or incomplete option " + args[i]);
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) throw tools::ToolError("render needs a source and an output");
    std::string text = svg::ExpandPlaceholders(tools::ReadText(files[0]), vars, files[0]);
    auto image = svg::RenderSvg(text, files[0], w, h);
    if (fs::path(files[1]).extension() == ".png") {
        if (!svg::WritePng(files[1], image)) throw tools::ToolError("cannot write " + files[1]);
        return 0;
    }
    tools::WriteBytes(files[1], svg::EncodeTarga(image));
    return 0;
}

int Family(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    std::string manifest;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--manifest" && i + 1 < args.size()) {
            manifest = args[++i];
        } else if (!args[i].empty() && args[i][0] == '-') {
            throw tools::ToolError("unknown or incomplete option " + args[i]);
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) throw tools::ToolError("family needs a description and a folder");
    auto images = svg::ExpandFamily(files[0]);
    const fs::path folder = files[1];
    if (manifest.empty()) manifest = (folder / fs::path(files[0]).stem()).string() + ".pack";
    const fs::path manifestDir = fs::absolute(fs::path(manifest)).parent_path();

    tools::Progress progress("svg2tga", "images", images.size());
    std::string list = "# Made by svg2tga from " + files[0] + "\n";
    for (size_t i = 0; i < images.size(); ++i) {
        const auto& img = images[i];
        auto pixels = svg::RenderSvg(img.svgText, img.templatePath + " (for " + img.name + ")",
                                     img.width, img.height);
        const fs::path out = folder / img.name;
        tools::WriteBytes(out, svg::EncodeTarga(pixels));
        list +=
            img.name + " = " + fs::absolute(out).lexically_relative(manifestDir).string() + "\n";
        progress.Update(i + 1);
    }
    tools::WriteText(manifest, list);
    return 0;
}

int List(const std::vector<std::string>& args) {
    if (args.size() != 1) throw tools::ToolError("list needs a family description");
    for (const auto& img : svg::ExpandFamily(args[0])) std::printf("%s\n", img.name.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return tools::RunCommands("svg2tga", kUsage, argc, argv,
                              {{"render", Render}, {"family", Family}, {"list", List}});
}
