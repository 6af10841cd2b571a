#pragma once
// The OpenGL work of one drawn frame, recorded on its way to OpenGL so that the
// busiest-frame benchmark can do it again without the game (BM_WorstFrameDrawFloor).
#include <GL/gl.h>

#include <array>
#include <cstddef>
#include <vector>

#include "pyrane/renderer2d.h"

// The OpenGL work of one drawn frame, kept so that it can be done again without the
// game: every quad the renderer handed to OpenGL in a vertex array (its batches), with
// the texture bound, and every display list it called (an image drawn alone: a glyph, a
// backdrop tile), and every strip of vertices it drew one by one (a bomb's blast), with
// the matrices, colour and texture of the moment.
class FrameRecording {
public:
    struct Draw {
        GLuint texture = 0;
        GLuint list = 0;                // a display list
        GLenum mode = GL_QUADS;         // else the primitive of vertices
        bool immediate = false;         // glBegin .. glEnd with glVertex2f: x, y a vertex
        bool textured = true;
        std::vector<float> vertices;    // else a batch: s, t, r, g, b, a, x, y, z, w a vertex
        std::array<float, 16> projection{};
        std::array<float, 16> modelview{};
        std::array<float, 4> color{};
    };

    static FrameRecording* active;

    void start() {
        _draws.clear();
        _unknown = 0;
        active = this;
    }
    void stop() { active = nullptr; }

    void arrays(GLenum mode, GLint first, GLsizei count) {
        Draw draw;
        draw.texture = boundTexture();
        if (mode != GL_QUADS || !arrayIsBatch()) {
            ++_unknown;
            return;
        }
        const char* coords = static_cast<const char*>(pointer(GL_TEXTURE_COORD_ARRAY_POINTER));
        const char* colors = static_cast<const char*>(pointer(GL_COLOR_ARRAY_POINTER));
        const char* vertices = static_cast<const char*>(pointer(GL_VERTEX_ARRAY_POINTER));
        GLint stride = 0;
        glGetIntegerv(GL_VERTEX_ARRAY_STRIDE, &stride);
        for (GLsizei i = first; i < first + count; ++i) {
            const auto* st = reinterpret_cast<const float*>(coords + i * stride);
            const auto* rgba = reinterpret_cast<const float*>(colors + i * stride);
            const auto* xyzw = reinterpret_cast<const float*>(vertices + i * stride);
            draw.vertices.insert(draw.vertices.end(), st, st + 2);
            draw.vertices.insert(draw.vertices.end(), rgba, rgba + 4);
            draw.vertices.insert(draw.vertices.end(), xyzw, xyzw + 4);
        }
        _draws.push_back(std::move(draw));
    }

    void list(GLuint name) {
        Draw draw = withState();
        draw.list = name;
        _draws.push_back(std::move(draw));
    }

    void begin(GLenum mode) {
        Draw draw = withState();
        draw.immediate = true;
        draw.mode = mode;
        draw.textured = glIsEnabled(GL_TEXTURE_2D);
        _draws.push_back(std::move(draw));
        _inside = true;
    }
    void vertex(GLfloat x, GLfloat y) {
        if (_inside) _draws.back().vertices.insert(_draws.back().vertices.end(), {x, y});
    }
    void end() { _inside = false; }

    // The recorded draws, in their order, straight to OpenGL: vertex arrays already in
    // clip coordinates with identity matrices, display lists with their own. The
    // renderer's bound texture, colour and matrices are as they were afterwards.
    void replay(const Pyrane::Renderer2D& renderer) const;

    std::size_t quads() const {
        std::size_t n = 0;
        for (const Draw& draw : _draws)
            n += draw.list ? 1 : draw.immediate ? 0 : draw.vertices.size() / 40;
        return n;
    }
    std::size_t draws() const { return _draws.size(); }
    // Vertex arrays that were not the renderer's batches: not recorded.
    int unknownDraws() const { return _unknown; }

private:
    Draw withState() const {
        Draw draw;
        draw.texture = boundTexture();
        glGetFloatv(GL_PROJECTION_MATRIX, draw.projection.data());
        glGetFloatv(GL_MODELVIEW_MATRIX, draw.modelview.data());
        glGetFloatv(GL_CURRENT_COLOR, draw.color.data());
        return draw;
    }

    static GLuint boundTexture() {
        GLint name = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
        return GLuint(name);
    }
    static void* pointer(GLenum which) {
        void* at = nullptr;
        glGetPointerv(which, &at);
        return at;
    }
    // The renderer's batches: clip coordinates (4 floats), texture coordinates and colours
    // from arrays of one stride.
    static bool arrayIsBatch() {
        GLint size = 0;
        glGetIntegerv(GL_VERTEX_ARRAY_SIZE, &size);
        return size == 4 && glIsEnabled(GL_COLOR_ARRAY) && glIsEnabled(GL_TEXTURE_COORD_ARRAY);
    }

    std::vector<Draw> _draws;
    int _unknown = 0;
    bool _inside = false;
};
