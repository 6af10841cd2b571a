// The floor of the start-up measurement: an SDL window with an OpenGL context made as the
// game makes its own (compatibility profile, double buffer, 8 bits a channel, 16-bit
// depth, vsync asked for) that only clears, about 60 times a second, until it is closed
// or sent SIGTERM. Whatever the game costs above this program is the game's own; this
// is the driver's and SDL's. With --textured-quad it also draws one blended, textured
// quad a frame, as the game draws its pictures: the floor of drawing pictures at all,
// which on a software renderer includes compiling the shaders for them. It is the one
// program outside the platform and sound layers that calls SDL itself, because the
// game's own layers are what it is measured against.
#include <GL/gl.h>
#include <SDL.h>

#include <csignal>
#include <cstdio>
#include <cstring>

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

} // namespace

int main(int argc, char** argv) {
    const bool texturedQuad = argc > 1 && std::strcmp(argv[1], "--textured-quad") == 0;
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
        if (texturedQuad) drawTexturedQuad();
        SDL_GL_SwapWindow(window);
        if (!vsync) SDL_Delay(16);
    }
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
