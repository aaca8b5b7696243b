// The pictures and the sound built into the program.
//
// The pictures are drawn by resources/make_pictures.cpp into
// resources/pictures/ (JPEG button pictures, one PNG with alpha), the sound
// is synthesised by resources/make_sound.py; the build copies their exact
// bytes into the program. The views stay valid for the life of the process.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <utility>

// The bytes of the picture `fileName` of resources/pictures/
// ("close_normal.jpg"); empty when there is no such picture.
std::span<const std::uint8_t> EmbeddedPicture(std::string_view fileName);

// The prompt box's chime: a RIFF WAVE, PCM, mono, 16,000 samples per second,
// 8 bits, 5,600 bytes of samples.
std::span<const std::uint8_t> EmbeddedPromptSound();

// Every embedded picture: its file name and the function that returns its
// bytes (generated from the list in resources/CMakeLists.txt).
std::span<const std::pair<std::string_view, std::string_view (*)()>> EmbeddedPictureTable();
