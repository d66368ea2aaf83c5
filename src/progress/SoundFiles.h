#pragma once

// The music and effect files the program plays, relative to its folder.
namespace sound_files {

inline constexpr const char* kBgmTitle = "DATA/SOUND/BGM/Title.wav";
inline constexpr const char* kBgmMainMenu = "DATA/SOUND/BGM/MainMenu.wav";
inline constexpr const char* kBgmLesson = "DATA/SOUND/BGM/Setsumei.wav";
inline constexpr const char* kBgmGame = "DATA/SOUND/BGM/Game.wav";

inline constexpr const char* kSeSet = "DATA/SOUND/SE/Set.wav";
inline constexpr const char* kSeStone = "DATA/SOUND/SE/Stone.wav";
inline constexpr const char* kSeCursor = "DATA/SOUND/SE/Cursor.wav";
inline constexpr const char* kSeCancel = "DATA/SOUND/SE/Cancel.wav";
inline constexpr const char* kSeMenu = "DATA/SOUND/SE/Menu.wav";
inline constexpr const char* kSeOk = "DATA/SOUND/SE/OK.wav";
inline constexpr const char* kSeNo = "DATA/SOUND/SE/No.wav";

}  // namespace sound_files
