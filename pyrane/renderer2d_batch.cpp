// The renderer's batched image drawing: quads transformed on the processor, collected
// with their colours and handed to OpenGL one vertex array per run of one texture.
//
// The quads must look exactly as drawn one by one, to the pixel. So the corners are
// taken all the way to clip coordinates here, with the very products and sums, in the
// same order, that Mesa forms for translate, rotate and scale, for the product of the
// projection and model-view matrices and for the fixed-function vertex transform; the
// batch is then drawn with both matrices the identity, which passes them on unchanged.
// Any other order of the same arithmetic moves some edges by a rounding step, enough
// to change a pixel here and there.
#include <GL/gl.h>

#include <cmath>

#include "pyrane/bitmap.h"
#include "pyrane/functions.h"
#include "pyrane/image.h"
#include "pyrane/renderer2d.h"

namespace Pyrane {

namespace {

// Column-major 4 x 4 matrices, as OpenGL keeps them; element (row, column).
float& at(float* m, int row, int column) {
    return m[column * 4 + row];
}
float at(const float* m, int row, int column) {
    return m[column * 4 + row];
}

// product = a * b, summed as Mesa's general matrix product does.
void multiply(float* product, const float* a, const float* b) {
    float p[16];
    for (int i = 0; i < 4; ++i) {
        const float ai0 = at(a, i, 0), ai1 = at(a, i, 1), ai2 = at(a, i, 2), ai3 = at(a, i, 3);
        for (int j = 0; j < 4; ++j)
            at(p, i, j) =
                ai0 * at(b, 0, j) + ai1 * at(b, 1, j) + ai2 * at(b, 2, j) + ai3 * at(b, 3, j);
    }
    std::copy(p, p + 16, product);
}

// m * translate(x, y, 0) * rotate(degrees about z) * scale(sx, sy, 1).
void translateRotateScale(float* m, float x, float y, float degrees, float sx, float sy) {
    for (int row = 0; row < 4; ++row)
        m[12 + row] = m[row] * x + m[4 + row] * y + m[8 + row] * 0.0f + m[12 + row];
    // No turn leaves the matrix as it is, as OpenGL skips a rotation by 0.
    if (degrees != 0) {
        const float s = std::sin(float(double(degrees) * M_PI / 180.0));
        const float c = std::cos(float(double(degrees) * M_PI / 180.0));
        const float r[16] = {c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        multiply(m, m, r);
    }
    for (int row = 0; row < 4; ++row) {
        m[row] *= sx;
        m[4 + row] *= sy;
    }
}

} // namespace

void Renderer2D::beginBatch() {
    ++_batchDepth;
}

void Renderer2D::endBatch() {
    if (_batchDepth == 0) return;
    if (--_batchDepth == 0) flush();
}

void Renderer2D::flush() {
    _batchMatricesRead = false;
    if (!_batch.empty()) {
        glEnable(GL_TEXTURE_2D);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        const GLsizei stride = sizeof(BatchVertex);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, stride, &_batch[0].s);
        glColorPointer(4, GL_FLOAT, stride, &_batch[0].r);
        glVertexPointer(4, GL_FLOAT, stride, &_batch[0].x);
        glDrawArrays(GL_QUADS, 0, GLsizei(_batch.size()));
        glDisableClientState(GL_COLOR_ARRAY);
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        _batch.clear();
        // A colour array leaves the current colour undefined.
        _colorPending = true;
    }
    if (_colorPending) {
        glColor4f(_color.r, _color.g, _color.b, _color.a);
        _colorPending = false;
    }
}

void Renderer2D::batchImage(const Image& image, const Vector2<float>& pos, float rotation,
                            float scaleX, float scaleY) {
    const int texture = int(image.bitmap().texID());
    if (texture != _boundTexture) {
        flush();
        bindTexture(texture);
    }
    if (!_batchMatricesRead) {
        glGetFloatv(GL_PROJECTION_MATRIX, _batchProjection);
        glGetFloatv(GL_MODELVIEW_MATRIX, _batchModelview);
        _batchMatricesRead = true;
    }
    float m[16];
    std::copy(_batchModelview, _batchModelview + 16, m);
    translateRotateScale(m, pos.x, pos.y, radToDeg(rotation), scaleX, scaleY);
    multiply(m, _batchProjection, m);
    const float* v = image.vertArray();
    const unsigned int* index = image.vertIndices();
    for (unsigned int i = 0; i < image.vertIndicesCount(); ++i) {
        const float* corner = v + 5 * index[i];
        const float x = corner[2], y = corner[3], z = corner[4];
        // The vertex transform: x times the first column, then y, z and w (1) added.
        float clip[4];
        for (int row = 0; row < 4; ++row) {
            float sum = x * at(m, row, 0);
            sum = y * at(m, row, 1) + sum;
            sum = z * at(m, row, 2) + sum;
            clip[row] = at(m, row, 3) + sum;
        }
        _batch.push_back({corner[0], corner[1], _color.r, _color.g, _color.b, _color.a, clip[0],
                          clip[1], clip[2], clip[3]});
    }
}

} // namespace Pyrane
