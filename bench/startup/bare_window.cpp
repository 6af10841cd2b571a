// The floor of the start-up measurement: an SDL window with an OpenGL context made as the
// game makes its own (compatibility profile, double buffer, 8 bits a channel, 16-bit
// depth, vsync asked for) that only clears, about 60 times a second, until it is closed
// or sent SIGTERM. Whatever the game costs above this program is the game's own; this
// is the driver's and SDL's. With --textured-quad it also draws one blended, textured
// quad a frame, as the game draws its pictures: the floor of drawing pictures at all,
// which on a software renderer includes compiling the shaders for them. It is the one
// program outside the platform and sound layers that calls SDL itself, because the
// game's own layers are what it is measured against.
//
// Built as bench_library_window (KESTRANE_BENCH_MIXER), it also links the sound library
// and takes two more options, for the floor under the game's memory that is the
// libraries' and not the game's: --mixer opens the audio device as the game does (module
// support, 44.1 kHz stereo, 32 channels), --sample FILE and --tune FILE (each as often as
// wanted) load a sample as the game holds its effects (converted to the device's format,
// in a buffer of that size) and a module, the first of which plays looping, and
// --display-lists N compiles N display lists of one textured quad each, as the game
// compiles every image and glyph, and calls each of them every frame.
#include <GL/gl.h>
#include <SDL.h>
#ifdef KESTRANE_BENCH_MIXER
#include <SDL_mixer.h>
#endif

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

volatile std::sig_atomic_t stopped = 0;

// An 8 x 8 picture of varied colours and alphas, drawn blended in the middle of the window.
void drawTexturedQuad() {
    static GLuint texture = 0;
    if (texture == 0) {
        unsigned char pixels[8 * 8 * 4];
        for (int i = 0; i < 8 * 8 * 4; ++i)
            pixels[i] = static_cast<unsigned char>(i * 7);
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 8, 8, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    }
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-0.5f, -0.5f);
    glTexCoord2f(1, 0);
    glVertex2f(0.5f, -0.5f);
    glTexCoord2f(1, 1);
    glVertex2f(0.5f, 0.5f);
    glTexCoord2f(0, 1);
    glVertex2f(-0.5f, 0.5f);
    glEnd();
}

// `count` display lists, each one small quad from the interleaved arrays of an image,
// compiled once and then all called each frame over the textured quad's texture.
void drawDisplayLists(int count) {
    static std::vector<GLuint> lists;
    if (lists.empty()) {
        for (int i = 0; i < count; ++i) {
            const float x = float(i % 16) / 16 - 0.5f, y = float(i / 16 % 16) / 16 - 0.5f;
            const float vertices[20] = {0, 0, x, y, 0, 1, 0, x + 0.05f, y, 0,
                                        1, 1, x + 0.05f, y + 0.05f, 0, 0, 1, x, y + 0.05f, 0};
            const GLuint indices[4] = {0, 1, 2, 3};
            const GLuint list = glGenLists(1);
            glNewList(list, GL_COMPILE);
            glEnable(GL_TEXTURE_2D);
            glInterleavedArrays(GL_T2F_V3F, 0, vertices);
            glDrawElements(GL_QUADS, 4, GL_UNSIGNED_INT, indices);
            glEndList();
            lists.push_back(list);
        }
    }
    for (GLuint list : lists)
        glCallList(list);
}

} // namespace

int main(int argc, char** argv) {
    bool texturedQuad = false;
    [[maybe_unused]] bool mixer = false;
    int displayLists = 0;
    std::vector<const char*> samples, tunes;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--textured-quad") == 0) {
            texturedQuad = true;
#ifdef KESTRANE_BENCH_MIXER
        } else if (std::strcmp(argv[i], "--mixer") == 0) {
            mixer = true;
        } else if (std::strcmp(argv[i], "--display-lists") == 0 && i + 1 < argc) {
            displayLists = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--sample") == 0 && i + 1 < argc) {
            samples.push_back(argv[++i]);
        } else if (std::strcmp(argv[i], "--tune") == 0 && i + 1 < argc) {
            tunes.push_back(argv[++i]);
#endif
        } else {
            std::fprintf(stderr, "bare_window: unknown option %s\n", argv[i]);
            return 2;
        }
    }
    std::signal(SIGTERM, [](int) { stopped = 1; });
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "bare_window: %s\n", SDL_GetError());
        return 1;
    }
#ifdef KESTRANE_BENCH_MIXER
    if (mixer) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            std::fprintf(stderr, "bare_window: %s\n", SDL_GetError());
            return 1;
        }
        Mix_Init(MIX_INIT_MOD);
        if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
            std::fprintf(stderr, "bare_window: %s\n", Mix_GetError());
            return 1;
        }
        Mix_AllocateChannels(32);
    }
    for (const char* file : samples) {
        Mix_Chunk* sample = mixer ? Mix_LoadWAV(file) : nullptr;
        if (!sample) {
            std::fprintf(stderr, "bare_window: %s: %s\n", file, mixer ? Mix_GetError() : "no --mixer");
            return 1;
        }
        if (void* fitted = SDL_realloc(sample->abuf, sample->alen))
            sample->abuf = static_cast<Uint8*>(fitted);
    }
    for (const char* file : tunes) {
        Mix_Music* tune = mixer ? Mix_LoadMUS(file) : nullptr;
        if (!tune) {
            std::fprintf(stderr, "bare_window: %s: %s\n", file, mixer ? Mix_GetError() : "no --mixer");
            return 1;
        }
        if (file == tunes.front()) Mix_PlayMusic(tune, -1);
    }
#endif
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_Window* window = SDL_CreateWindow("bare window", SDL_WINDOWPOS_UNDEFINED,
                                          SDL_WINDOWPOS_UNDEFINED, 640, 400, SDL_WINDOW_OPENGL);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context) {
        std::fprintf(stderr, "bare_window: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    if (SDL_GL_SetSwapInterval(-1) != 0) SDL_GL_SetSwapInterval(1);
    const bool vsync = SDL_GL_GetSwapInterval() != 0;
    while (!stopped) {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            if (event.type == SDL_QUIT) stopped = 1;
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        if (texturedQuad || displayLists > 0) drawTexturedQuad();
        if (displayLists > 0) drawDisplayLists(displayLists);
        SDL_GL_SwapWindow(window);
        if (!vsync) SDL_Delay(16);
    }
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
#ifdef KESTRANE_BENCH_MIXER
    if (mixer) Mix_CloseAudio();
#endif
    SDL_Quit();
    return 0;
}
