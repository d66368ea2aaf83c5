#pragma once

#include "Lib/ZIRur/Sound/Wave.h"

// The process's two players, owned here for the global manager: created when the scene
// loop starts and deleted when it ends; the framework reaches them in between.

// Creates the music and effect players (a second call keeps the existing ones).
void CreateSoundPlayers();
// Deletes both players; the audio device closes with them.
void DeleteSoundPlayers();
// The music player (looping), or null outside CreateSoundPlayers/DeleteSoundPlayers.
CWave* BgmPlayer();
// The effect player (one-shot), or null outside CreateSoundPlayers/DeleteSoundPlayers.
CWave* SePlayer();
