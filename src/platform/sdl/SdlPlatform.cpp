// SDL2 backend: window thread, input, frame replay, audio.
