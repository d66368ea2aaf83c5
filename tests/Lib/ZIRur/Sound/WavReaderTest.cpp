#include "Lib/ZIRur/Sound/WavReader.h"

#include <gtest/gtest.h>
#include "WavBytes.h"
#include "support/ScratchDir.h"

using namespace wavtest;

namespace {
Bytes ReadAll(CWavReader& reader, size_t ask) {
    Bytes out(ask, 0xEE);
    out.resize(reader.Read(out.data(), out.size()));
    return out;
}
}  // namespace

TEST(WavReader, ReadsFormatAndDataInPiecesAndAgainAfterReset) {
    const Bytes data = Pcm16({100, -100, 200, -200});
    testsupport::ScratchDir dir;
    ASSERT_TRUE(testsupport::WriteBytes(dir / "a.wav", PcmWav(2, 22050, 16, data)));
    CWavReader reader;
    ASSERT_TRUE(reader.Open(dir / "a.wav"));
    const WavFormat& f = reader.Format();
    EXPECT_EQ((std::vector<uint32_t>{f.formatTag, f.channels, f.sampleRate, f.bytesPerSecond,
                                     f.blockAlign, f.bitsPerSample, reader.DataSize()}),
              (std::vector<uint32_t>{1, 2, 22050, 88200, 4, 16, 8}));
    EXPECT_TRUE(reader.ExtraFormat().empty());
    EXPECT_EQ(ReadAll(reader, 3), Bytes(data.begin(), data.begin() + 3));
    EXPECT_EQ(ReadAll(reader, 100), Bytes(data.begin() + 3, data.end())) << "stops at chunk end";
    EXPECT_TRUE(ReadAll(reader, 10).empty());
    ASSERT_TRUE(reader.ResetFile());
    EXPECT_EQ(ReadAll(reader, 100), data);
    // A failed open forgets the previous file; a directory is no file.
    EXPECT_FALSE(reader.Open(dir / "none.wav") || reader.IsOpen() || reader.Open(dir.Path()));
}

TEST(WavReader, WalksChunksInAnyOrderAndKeepsNonPcmExtraBytes) {
    // Odd-sized chunks are padded; data may come before fmt.
    CWavReader reader;
    ASSERT_TRUE(
        reader.OpenMemory(Riff({Chunk("LIST", {'a', 'b', 'c'}), Chunk("data", {1, 2, 3}),
                                Chunk("fmt ", FmtBody(1, 1, 8000, 8)), Chunk("junk", {9, 9})})));
    EXPECT_EQ(reader.Format().sampleRate, 8000u);
    EXPECT_EQ(ReadAll(reader, 10), (Bytes{1, 2, 3}));
    Bytes adpcm = FmtBody(2, 1, 22050, 4);
    Put(adpcm, 4, 2);
    adpcm.insert(adpcm.end(), {0xA1, 0xA2, 0xA3, 0xA4});
    ASSERT_TRUE(reader.OpenMemory(Riff({Chunk("fmt ", adpcm), Chunk("data", {7, 7})})));
    EXPECT_EQ(reader.Format().formatTag, 2);
    EXPECT_EQ(Bytes(reader.ExtraFormat().begin(), reader.ExtraFormat().end()),
              (Bytes{0xA1, 0xA2, 0xA3, 0xA4}));
    EXPECT_EQ(ReadAll(reader, 10), (Bytes{7, 7}));
    // PCM ignores whatever follows its 16 bytes.
    Bytes pcm = FmtBody(1, 1, 22050, 8);
    pcm.insert(pcm.end(), {2, 0, 5, 5});
    ASSERT_TRUE(reader.OpenMemory(Riff({Chunk("fmt ", pcm), Chunk("data", {1})})));
    EXPECT_TRUE(reader.ExtraFormat().empty());
    // Data that states more than the file holds gives what is there.
    ASSERT_TRUE(reader.OpenMemory(
        Riff({Chunk("fmt ", FmtBody(1, 1, 22050, 8)), Chunk("data", {10, 20, 30}, 100)})));
    // The pad byte is all the file still holds.
    EXPECT_EQ(
        (std::vector<size_t>{reader.DataSize(), reader.DataPresent(), ReadAll(reader, 100).size()}),
        (std::vector<size_t>{100, 4, 4}));
}

TEST(WavReader, RejectsMalformedFiles) {
    const Bytes fmt = Chunk("fmt ", FmtBody(1, 1, 22050, 8));
    const Bytes data = Chunk("data", {1, 2});
    Bytes shortFmt = FmtBody(1, 1, 22050, 8);
    shortFmt.resize(14);
    Bytes overlongExtra = FmtBody(2, 1, 22050, 4);
    Put(overlongExtra, 40, 2);  // more extra bytes than the chunk holds
    Bytes truncatedFmt = Riff({fmt});
    truncatedFmt.resize(truncatedFmt.size() - 4);
    Bytes wrongRiff = Riff({fmt, data});
    wrongRiff[0] = 'X';
    Bytes wrongForm = Riff({fmt, data});
    wrongForm[8] = 'A';
    const std::pair<const char*, Bytes> cases[] = {
        {"empty", {}},
        {"header only", Bytes{'R', 'I', 'F', 'F', 4, 0, 0}},
        {"not RIFF", wrongRiff},
        {"not WAVE", wrongForm},
        {"no fmt", Riff({data})},
        {"fmt under 16 bytes", Riff({Chunk("fmt ", shortFmt), data})},
        {"fmt larger than the file", truncatedFmt},
        {"extra size beyond fmt", Riff({Chunk("fmt ", overlongExtra), data})},
        {"no data", Riff({fmt})},
        {"data outside the RIFF", Riff({fmt, data}, 4 + int64_t(fmt.size()))},
        {"chunk size runs past the end", Riff({Chunk("LIST", {1, 2}, 0xFFFFFFF0), fmt, data})},
    };
    for (const auto& [name, bytes] : cases) {
        CWavReader reader;
        uint8_t b = 0;
        EXPECT_FALSE(reader.OpenMemory(bytes) || reader.IsOpen() || reader.Read(&b, 1)) << name;
    }
}
