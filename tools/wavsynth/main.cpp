// wavsynth: renders a score (music loop or sound effect) to a 16-bit PCM WAV file.
#include <cstdio>
#include <string>
#include <vector>

#include "common/FileIO.h"
#include "common/Progress.h"
#include "common/ToolError.h"
#include "common/ToolMain.h"
#include "wavsynth/Score.h"
#include "wavsynth/Synth.h"
#include "wavsynth/Wav.h"

namespace {

const char kUsage[] =
    "usage: wavsynth SCORE OUTPUT.wav\n"
    "\n"
    "Renders a score (text; see docs/formats/score.md) to a 16-bit PCM WAV file.\n"
    "The rate and channel count come from the score (default 22050 Hz, stereo).\n"
    "A score with \"loop N\" is exactly N beats long and wraps its tails into its start,\n"
    "so it loops without a seam. The same score always gives the same bytes.\n";

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || tools::WantsHelp(args)) {
        std::fputs(kUsage, args.empty() ? stderr : stdout);
        return args.empty() ? 2 : 0;
    }
    return tools::RunTool("wavsynth", [&] {
        if (args.size() != 2) throw tools::ToolError("wavsynth needs a score and an output");
        auto score = synth::ParseScore(tools::ReadText(args[0]), args[0]);
        tools::Progress progress("wavsynth", "notes", score.notes.size());
        auto pcm = synth::Render(score, [&](size_t done, size_t) { progress.Update(done); });
        if (pcm.clipped > 0) {
            std::fprintf(stderr, "%s: warning: %zu samples clipped; lower \"volume\"\n",
                         args[0].c_str(), pcm.clipped);
        }
        tools::WriteBytes(args[1], synth::EncodeWav(pcm));
        return 0;
    });
}
