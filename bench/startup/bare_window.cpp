// The floor of the start-up measurement: an SDL window with an OpenGL context made as the
// game makes its own (compatibility profile, double buffer, 8 bits a channel, 16-bit
// depth, vsync asked for) that only clears, about 60 times a second, until it is closed
// or sent SIGTERM. Whatever the game costs above this program is the game's own; this
// is the driver's and SDL's. It is the one program outside the platform and sound layers
// that calls SDL itself, because the game's own layers are what it is measured against.
#include <GL/gl.h>
#include <SDL.h>

#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t stopped = 0;

} // namespace

int main(int, char**) {
    std::signal(SIGTERM, [](int) { stopped = 1; });
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "bare_window: %s\n", SDL_GetError());
        return 1;
    }
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
        SDL_GL_SwapWindow(window);
        if (!vsync) SDL_Delay(16);
    }
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
