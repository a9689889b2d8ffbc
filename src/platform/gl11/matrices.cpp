// The model-view and projection stacks and the GLU camera helpers, with the
// formulas of GL 1.1 and of Mesa's GLU: float products, the rotation matrix
// of glRotate for a normalised axis (no change for an axis of length zero),
// gluPerspective's cotangent form and gluLookAt's side, up and forward rows
// followed by the eye translation. A push beyond the stack's depth records
// GL_STACK_OVERFLOW, a pop of the last entry GL_STACK_UNDERFLOW.
#include <cmath>
#include <utility>

#include "platform/gl11/context.h"

namespace gl11 {

Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix r;
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += a.m[k * 4 + row] * b.m[column * 4 + k];
            r.m[column * 4 + row] = sum;
        }
    return r;
}

Matrix inverse(const Matrix& in) {
    // Gauss-Jordan elimination with partial pivoting, in double, on the
    // rows of [in | I]; column-major storage, so element (r, c) is m[c * 4 + r].
    double work[4][8];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 8; ++c) work[r][c] = c < 4 ? in.m[c * 4 + r] : (c - 4 == r ? 1.0 : 0.0);
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(work[r][c]) > std::fabs(work[pivot][c])) pivot = r;
        if (!(std::fabs(work[pivot][c]) > 0.0)) return Matrix{};  // singular (or not a number)
        std::swap(work[c], work[pivot]);
        const double scale = 1.0 / work[c][c];
        for (double& v : work[c]) v *= scale;
        for (int r = 0; r < 4; ++r) {
            const double f = work[r][c];
            if (r == c || f == 0.0) continue;
            for (int k = 0; k < 8; ++k) work[r][k] -= f * work[c][k];
        }
    }
    Matrix out;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) out.m[c * 4 + r] = static_cast<float>(work[r][c + 4]);
    return out;
}

static MatrixStack& currentStack() {
    return context.matrixMode == GL_PROJECTION ? context.projection : context.modelView;
}

Matrix& currentMatrix() {
    MatrixStack& stack = currentStack();
    return stack.entries[static_cast<size_t>(stack.top)];
}

static void multiplyCurrent(const Matrix& m) {
    Matrix& top = currentMatrix();
    top = multiply(top, m);
    ++context.serial;
}

}  // namespace gl11

using namespace gl11;

void gl11Viewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    glViewport(x, y, width, height);
    if (width < 0 || height < 0) return;  // ES records GL_INVALID_VALUE
    context.viewport[0] = x, context.viewport[1] = y, context.viewport[2] = width, context.viewport[3] = height;
    ++context.serial;
}

void gl11MatrixMode(GLenum mode) {
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION) return recordError(GL_INVALID_ENUM);
    context.matrixMode = mode;
}

void gl11LoadIdentity(void) {
    currentMatrix() = Matrix{};
    ++context.serial;
}

void gl11PushMatrix(void) {
    MatrixStack& stack = currentStack();
    if (stack.top + 1 >= MatrixStack::kDepth) return recordError(GL_STACK_OVERFLOW);
    stack.entries[static_cast<size_t>(stack.top + 1)] = stack.entries[static_cast<size_t>(stack.top)];
    ++stack.top;
}

void gl11PopMatrix(void) {
    MatrixStack& stack = currentStack();
    if (stack.top == 0) return recordError(GL_STACK_UNDERFLOW);
    --stack.top;
    ++context.serial;
}

void gl11Rotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length <= 1.0e-4f) return;
    x /= length;
    y /= length;
    z /= length;
    const auto radians = static_cast<float>(angle * M_PI / 180.0);
    const float s = std::sin(radians), c = std::cos(radians), k = 1.0f - c;
    Matrix r;
    r.m[0] = k * x * x + c;
    r.m[1] = k * x * y + z * s;
    r.m[2] = k * z * x - y * s;
    r.m[4] = k * x * y - z * s;
    r.m[5] = k * y * y + c;
    r.m[6] = k * y * z + x * s;
    r.m[8] = k * z * x + y * s;
    r.m[9] = k * y * z - x * s;
    r.m[10] = k * z * z + c;
    multiplyCurrent(r);
}

void gl11Translatef(GLfloat x, GLfloat y, GLfloat z) {
    Matrix t;
    t.m[12] = x;
    t.m[13] = y;
    t.m[14] = z;
    multiplyCurrent(t);
}

void gl11GluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    const double radians = fovy / 2 * M_PI / 180;
    const double depth = zFar - zNear, sine = std::sin(radians);
    if (depth == 0 || sine == 0 || aspect == 0) return;
    const double cotangent = std::cos(radians) / sine;
    Matrix p;
    p.m[0] = static_cast<float>(cotangent / aspect);
    p.m[5] = static_cast<float>(cotangent);
    p.m[10] = static_cast<float>(-(zFar + zNear) / depth);
    p.m[11] = -1.0f;
    p.m[14] = static_cast<float>(-2 * zNear * zFar / depth);
    p.m[15] = 0.0f;
    multiplyCurrent(p);
}

static void normalise(float v[3]) {
    const float r = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (r == 0.0f) return;
    for (int i = 0; i < 3; ++i) v[i] /= r;
}

static void cross(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

void gl11GluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
                   GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
    float forward[3] = {static_cast<float>(centerX - eyeX), static_cast<float>(centerY - eyeY),
                        static_cast<float>(centerZ - eyeZ)};
    float up[3] = {static_cast<float>(upX), static_cast<float>(upY), static_cast<float>(upZ)};
    float side[3];
    normalise(forward);
    cross(forward, up, side);
    normalise(side);
    cross(side, forward, up);
    Matrix view;
    for (int i = 0; i < 3; ++i) {
        view.m[i * 4] = side[i];
        view.m[i * 4 + 1] = up[i];
        view.m[i * 4 + 2] = -forward[i];
    }
    multiplyCurrent(view);
    gl11Translatef(static_cast<float>(-eyeX), static_cast<float>(-eyeY), static_cast<float>(-eyeZ));
}
