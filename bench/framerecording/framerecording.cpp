#include "framerecording/framerecording.h"

#include <dlfcn.h>

#include <cstdlib>
#include <utility>

FrameRecording* FrameRecording::active = nullptr;

namespace {

// OpenGL's own entry points (the ...Real functions), for the calls this program takes
// over below.
template <typename Function>
Function realGl(const char* name) {
    void* found = dlsym(RTLD_NEXT, name);
    if (!found) std::abort();
    return reinterpret_cast<Function>(found);
}

void glDrawArraysReal(GLenum mode, GLint first, GLsizei count) {
    static const auto real = realGl<void (*)(GLenum, GLint, GLsizei)>("glDrawArrays");
    real(mode, first, count);
}

void glCallListReal(GLuint list) {
    static const auto real = realGl<void (*)(GLuint)>("glCallList");
    real(list);
}

void glBeginReal(GLenum mode) {
    static const auto real = realGl<void (*)(GLenum)>("glBegin");
    real(mode);
}

void glVertex2fReal(GLfloat x, GLfloat y) {
    static const auto real = realGl<void (*)(GLfloat, GLfloat)>("glVertex2f");
    real(x, y);
}

void glEndReal() {
    static const auto real = realGl<void (*)()>("glEnd");
    real();
}

} // namespace

void FrameRecording::replay(const Pyrane::Renderer2D& renderer) const {
    // The renderer's own state is left as it was: it keeps track of the bound texture
    // and the colour, and its matrices hold the view.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    GLuint bound = 0;
    bool identity = false;
    glEnable(GL_TEXTURE_2D);
    for (const Draw& draw : _draws) {
        if (draw.texture != bound) glBindTexture(GL_TEXTURE_2D, bound = draw.texture);
        if (draw.list || draw.immediate) {
            glMatrixMode(GL_PROJECTION);
            glLoadMatrixf(draw.projection.data());
            glMatrixMode(GL_MODELVIEW);
            glLoadMatrixf(draw.modelview.data());
            glColor4fv(draw.color.data());
            identity = false;
            if (draw.list) {
                glCallListReal(draw.list);
                continue;
            }
            if (!draw.textured) glDisable(GL_TEXTURE_2D);
            glBeginReal(draw.mode);
            for (std::size_t i = 0; i + 1 < draw.vertices.size(); i += 2)
                glVertex2fReal(draw.vertices[i], draw.vertices[i + 1]);
            glEndReal();
            glEnable(GL_TEXTURE_2D);
            continue;
        }
        if (!identity) {
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            identity = true;
        }
        const GLsizei stride = 10 * sizeof(float);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnableClientState(GL_VERTEX_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, stride, draw.vertices.data());
        glColorPointer(4, GL_FLOAT, stride, draw.vertices.data() + 2);
        glVertexPointer(4, GL_FLOAT, stride, draw.vertices.data() + 6);
        glDrawArraysReal(GL_QUADS, 0, GLsizei(draw.vertices.size() / 10));
        glDisableClientState(GL_COLOR_ARRAY);
    }
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glBindTexture(GL_TEXTURE_2D, GLuint(renderer.boundTexture()));
    const RGBA<float>& color = renderer.color();
    glColor4f(color.r, color.g, color.b, color.a);
}

// While a frame is recorded, the renderer's draws reach the recording on their way to
// OpenGL: this program's own definitions of these entry points take the place of the
// GL library's in every call the game makes.
extern "C" {
void glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    if (FrameRecording::active) FrameRecording::active->arrays(mode, first, count);
    glDrawArraysReal(mode, first, count);
}
void glCallList(GLuint list) {
    if (FrameRecording::active) FrameRecording::active->list(list);
    glCallListReal(list);
}
void glBegin(GLenum mode) {
    if (FrameRecording::active) FrameRecording::active->begin(mode);
    glBeginReal(mode);
}
void glVertex2f(GLfloat x, GLfloat y) {
    if (FrameRecording::active) FrameRecording::active->vertex(x, y);
    glVertex2fReal(x, y);
}
void glEnd() {
    if (FrameRecording::active) FrameRecording::active->end();
    glEndReal();
}
}
