#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "Lib/ZIRur/Sound/WavReader.h"
#include "WavBytes.h"

using namespace wavtest;

namespace {
Bytes ReadAll(CWavReader& reader, size_t ask) {
    Bytes out(ask, 0xEE);
    out.resize(reader.Read(out.data(), out.size()));
    return out;
}
}  // namespace

TEST(WavReader, ReadsPcmFormatAndData) {
    Bytes data = Pcm16({100, -100, 200, -200});
    CWavReader reader;
    ASSERT_TRUE(reader.OpenMemory(PcmWav(2, 22050, 16, data)));
    EXPECT_EQ(reader.Format().formatTag, 1);
    EXPECT_EQ(reader.Format().channels, 2);
    EXPECT_EQ(reader.Format().sampleRate, 22050u);
    EXPECT_EQ(reader.Format().bytesPerSecond, 88200u);
    EXPECT_EQ(reader.Format().blockAlign, 4);
    EXPECT_EQ(reader.Format().bitsPerSample, 16);
    EXPECT_TRUE(reader.ExtraFormat().empty());
    EXPECT_EQ(reader.DataSize(), 8u);
    EXPECT_EQ(ReadAll(reader, 3), Bytes(data.begin(), data.begin() + 3));
    EXPECT_EQ(ReadAll(reader, 100), Bytes(data.begin() + 3, data.end())) << "stops at chunk end";
    EXPECT_TRUE(ReadAll(reader, 10).empty());
    ASSERT_TRUE(reader.ResetFile());
    EXPECT_EQ(ReadAll(reader, 100), data);
}

TEST(WavReader, SkipsOtherChunksWithOddPaddingAndFindsDataAnywhere) {
    Bytes data = {1, 2, 3};  // odd size: padded
    Bytes file = Riff({Chunk("LIST", {'a', 'b', 'c'}), Chunk("data", data),
                       Chunk("fmt ", FmtBody(1, 1, 8000, 8)), Chunk("junk", {9, 9})});
    CWavReader reader;
    ASSERT_TRUE(reader.OpenMemory(file));
    EXPECT_EQ(reader.Format().sampleRate, 8000u);
    EXPECT_EQ(ReadAll(reader, 10), data);
}

TEST(WavReader, NonPcmFormatReadsItsExtraBytes) {
    Bytes fmt = FmtBody(2, 1, 22050, 4);
    PutU16(fmt, 4);
    fmt.insert(fmt.end(), {0xA1, 0xA2, 0xA3, 0xA4});
    CWavReader reader;
    ASSERT_TRUE(reader.OpenMemory(Riff({Chunk("fmt ", fmt), Chunk("data", {7, 7})})));
    EXPECT_EQ(reader.Format().formatTag, 2);
    EXPECT_EQ(Bytes(reader.ExtraFormat().begin(), reader.ExtraFormat().end()),
              (Bytes{0xA1, 0xA2, 0xA3, 0xA4}));
    EXPECT_EQ(ReadAll(reader, 10), (Bytes{7, 7}));

    // PCM ignores whatever follows its 16 bytes.
    Bytes pcmFmt = FmtBody(1, 1, 22050, 8);
    PutU16(pcmFmt, 2);
    pcmFmt.insert(pcmFmt.end(), {5, 5});
    ASSERT_TRUE(reader.OpenMemory(Riff({Chunk("fmt ", pcmFmt), Chunk("data", {1})})));
    EXPECT_TRUE(reader.ExtraFormat().empty());
}

TEST(WavReader, ShortDataStatesMoreThanTheFileGives) {
    Bytes file = Riff({Chunk("fmt ", FmtBody(1, 1, 22050, 8)), Chunk("data", {10, 20, 30}, 100)});
    CWavReader reader;
    ASSERT_TRUE(reader.OpenMemory(file));
    EXPECT_EQ(reader.DataSize(), 100u);
    EXPECT_EQ(reader.DataPresent(), 4u) << "the pad byte is all the file still holds";
    EXPECT_EQ(ReadAll(reader, 100).size(), 4u);
}

TEST(WavReader, RejectsMalformedFiles) {
    const Bytes fmt = Chunk("fmt ", FmtBody(1, 1, 22050, 8));
    const Bytes data = Chunk("data", {1, 2});
    Bytes shortFmt = FmtBody(1, 1, 22050, 8);
    shortFmt.resize(14);
    Bytes nonPcmOverlongExtra = FmtBody(2, 1, 22050, 4);
    PutU16(nonPcmOverlongExtra, 40);  // more extra bytes than the chunk holds
    Bytes truncatedFmt = Riff({Chunk("fmt ", FmtBody(1, 1, 22050, 8))});
    truncatedFmt.resize(truncatedFmt.size() - 4);
    Bytes wrongRiff = Riff({fmt, data});
    wrongRiff[0] = 'X';
    Bytes wrongForm = Riff({fmt, data});
    wrongForm[8] = 'A';
    const Bytes riffStopsBeforeData = Riff({fmt, data}, 4 + int64_t(fmt.size()));

    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"empty", {}},
        {"header only", Bytes{'R', 'I', 'F', 'F', 4, 0, 0}},
        {"not RIFF", wrongRiff},
        {"not WAVE", wrongForm},
        {"no fmt", Riff({data})},
        {"fmt under 16 bytes", Riff({Chunk("fmt ", shortFmt), data})},
        {"fmt larger than the file", truncatedFmt},
        {"extra size beyond fmt", Riff({Chunk("fmt ", nonPcmOverlongExtra), data})},
        {"no data", Riff({fmt})},
        {"data outside the RIFF", riffStopsBeforeData},
        {"chunk size runs past the end", Riff({Chunk("LIST", {1, 2}, 0xFFFFFFF0), fmt, data})},
    };
    for (const auto& [name, bytes] : cases) {
        CWavReader reader;
        EXPECT_FALSE(reader.OpenMemory(bytes)) << name;
        EXPECT_FALSE(reader.IsOpen()) << name;
        uint8_t b = 0;
        EXPECT_EQ(reader.Read(&b, 1), 0u) << name;
    }
}

TEST(WavReader, OpensFilesAndFailsOnMissingOnes) {
    auto path = std::filesystem::temp_directory_path() / "stonewell_wavreader_test.wav";
    Bytes file = PcmWav(1, 11025, 16, Pcm16({1, 2, 3}));
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    }
    CWavReader reader;
    EXPECT_TRUE(reader.Open(path.string()));
    EXPECT_EQ(reader.DataSize(), 6u);
    std::filesystem::remove(path);
    EXPECT_FALSE(reader.Open(path.string()));
    EXPECT_FALSE(reader.IsOpen()) << "a failed open forgets the previous file";
    EXPECT_FALSE(reader.Open(std::filesystem::temp_directory_path().string()))
        << "a directory is no file";
}
