// RIFF WAVE loading and playback through SDL2 (dummy audio driver).
#include "platform/sound.h"

#include <gtest/gtest.h>

#include "tests/standard_error.h"

#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Put16(Bytes& b, std::uint16_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Chunk(Bytes& b, const char* id, const Bytes& body) {
  b.insert(b.end(), id, id + 4);
  Put32(b, static_cast<std::uint32_t>(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  if (body.size() % 2 == 1) b.push_back(0);
}
Bytes Fmt(std::uint16_t tag, int channels, int rate, int bits, int extra = 2) {
  Bytes f;
  Put16(f, tag);
  Put16(f, static_cast<std::uint16_t>(channels));
  Put32(f, static_cast<std::uint32_t>(rate));
  Put32(f, static_cast<std::uint32_t>(rate * channels * bits / 8));
  Put16(f, static_cast<std::uint16_t>(channels * bits / 8));
  Put16(f, static_cast<std::uint16_t>(bits));
  if (extra > 0) {
    Put16(f, static_cast<std::uint16_t>(extra - 2));
    f.resize(f.size() + static_cast<std::size_t>(extra - 2));
  }
  return f;
}
Bytes Riff(const std::function<void(Bytes&)>& chunks) {
  Bytes body{'W', 'A', 'V', 'E'};
  chunks(body);
  Bytes b{'R', 'I', 'F', 'F'};
  Put32(b, static_cast<std::uint32_t>(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  return b;
}
// Like the prompt sound: 18-byte "fmt ", 8-bit mono PCM, then LIST metadata.
Bytes PromptLike(std::size_t samples = 5600) {
  return Riff([&](Bytes& b) {
    Chunk(b, "fmt ", Fmt(1, 1, 16000, 8));
    Chunk(b, "data", Bytes(samples, 0x80));
    Chunk(b, "LIST", Bytes(26, 'x'));
  });
}

TEST(Wave, SdlReadsFormatAndSamplesPastOtherChunks) {
  const Bytes wave = Riff([](Bytes& b) {
    Chunk(b, "LIST", Bytes(3, 'x'));  // odd size: padded
    Chunk(b, "fmt ", Fmt(1, 2, 22050, 16, 0));
    Chunk(b, "data", Bytes(8, 1));
    Chunk(b, "_PMX", Bytes(100, 'm'));
  });
  const auto info = Wave::Load(wave);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->channels(), 2);
  EXPECT_EQ(info->samplesPerSecond(), 22050);
  EXPECT_EQ(info->bitsPerSample(), 16);
  EXPECT_EQ(info->samples().size(), 8u);
  EXPECT_EQ(info->samples()[0], 1);

  const Bytes prompt = PromptLike();
  auto p = Wave::Load(prompt);
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->channels(), 1);
  EXPECT_EQ(p->samplesPerSecond(), 16000);
  EXPECT_EQ(p->bitsPerSample(), 8);
  EXPECT_EQ(p->samples().size(), 5600u);
  // The samples are the wave's own, owned by the object when it moves.
  Wave moved = std::move(*p);
  EXPECT_EQ(moved.samples().size(), 5600u);
  EXPECT_EQ(moved.samples()[5599], 0x80);
}

struct BadWave {
  const char* name;
  std::function<Bytes()> make;
};

class WaveRejects : public ::testing::TestWithParam<BadWave> {};

TEST_P(WaveRejects, WhatIsNotAWave) {
  const Bytes bytes = GetParam().make();
  EXPECT_FALSE(Wave::Load(bytes).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Table, WaveRejects,
    ::testing::Values(
        BadWave{"Empty", [] { return Bytes{}; }},
        BadWave{"WrongSignature",
                [] {
                  Bytes b = PromptLike();
                  b[8] = 'X';
                  return b;
                }},
        BadWave{"NoChannels",
                [] {
                  return Riff([](Bytes& b) {
                    Chunk(b, "fmt ", Fmt(1, 0, 8000, 8));
                    Chunk(b, "data", Bytes(6, 0));
                  });
                }},
        BadWave{"ShortFormatChunk",
                [] {
                  return Riff([](Bytes& b) {
                    Chunk(b, "fmt ", Bytes(10, 1));
                    Chunk(b, "data", Bytes(6, 0));
                  });
                }},
        BadWave{"NoDataChunk",
                [] { return Riff([](Bytes& b) { Chunk(b, "fmt ", Fmt(1, 1, 8000, 8)); }); }},
        BadWave{"NoFormatChunk",
                [] { return Riff([](Bytes& b) { Chunk(b, "data", Bytes(6, 0)); }); }}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(SoundPlayer, PlaysReplacesAndStopsOnTheDummyDriver) {
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  SoundPlayer player;
  player.Stop();  // nothing open yet
  EXPECT_TRUE(player.Play(PromptLike()));
  EXPECT_TRUE(player.Play(PromptLike(101)));  // replaces; an odd length is fine for 8 bits
  const Bytes stereo = Riff([](Bytes& b) {
    Chunk(b, "fmt ", Fmt(1, 2, 44100, 16));
    Chunk(b, "data", Bytes(4 * 100 + 3, 0));  // a cut-off last frame is not queued
  });
  EXPECT_TRUE(player.Play(stereo));  // another format is converted for the open device
  const Bytes bad{1, 2, 3};
  EXPECT_FALSE(player.Play(bad));
  player.Stop();
}

// Sound must not take over the signals that end the program: with SDL's
// handlers, SIGTERM and SIGINT (a log-out, Ctrl+C in the terminal) would
// only queue an event that nothing reads, and the editor would live on.
TEST(SoundPlayer, LeavesTheSignalsThatEndTheProgramAlone) {
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  SoundPlayer player;
  ASSERT_TRUE(player.Play(PromptLike()));
  for (int signal : {SIGTERM, SIGINT}) {
    struct sigaction action {};
    ASSERT_EQ(::sigaction(signal, nullptr, &action), 0);
    EXPECT_EQ(action.sa_handler, SIG_DFL) << signal;
  }
}

// Machines without a sound device, made on any machine: no such driver; a
// device that ALSA cannot open (its library prints a line for every try);
// SDL's file driver with its file in a folder that is not there (it opens
// once the folder exists, so a second try would show as the file).
struct NoDevice {
  const char* name;
  const char* driver;
  const char* device;  // AUDIODEV, for ALSA
  friend void PrintTo(const NoDevice& d, std::ostream* os) { *os << d.name; }
};

class SoundWithoutADevice : public ::testing::TestWithParam<NoDevice> {
 protected:
  void TearDown() override {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    ::unsetenv("AUDIODEV");
    ::unsetenv("SDL_DISKAUDIOFILE");
    std::filesystem::remove_all(scratch_);
  }
  std::filesystem::path scratch_ =
      std::filesystem::temp_directory_path() / ("sound_test_" + std::to_string(::getpid()));
};

TEST_P(SoundWithoutADevice, TriesOnceSaysSoInOneLineAndStaysSilent) {
  const NoDevice& c = GetParam();
  ::setenv("SDL_AUDIODRIVER", c.driver, 1);
  if (c.device != nullptr) ::setenv("AUDIODEV", c.device, 1);
  const std::filesystem::path folder = scratch_ / "missing";
  const std::filesystem::path file = folder / "sound.raw";
  ::setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);

  test_output::StandardErrorText standardError;
  {
    SoundPlayer player;
    EXPECT_FALSE(player.Play(PromptLike()));
    std::filesystem::create_directories(folder);
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(player.Play(PromptLike())) << i;
    player.Stop();
  }
  const std::vector<std::string> lines = standardError.Lines();
  ASSERT_EQ(lines.size(), 1u) << ::testing::PrintToString(lines);
  EXPECT_TRUE(lines[0].starts_with("sound: no audio device (")) << lines[0];
  EXPECT_FALSE(std::filesystem::exists(file));
}

INSTANTIATE_TEST_SUITE_P(Table, SoundWithoutADevice,
                         ::testing::Values(NoDevice{"NoSuchDriver", "nosuchdriver", nullptr},
                                           NoDevice{"AlsaDeviceMissing", "alsa", "nosuchpcm"},
                                           NoDevice{"FileInAMissingFolder", "disk", nullptr}),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace platform
