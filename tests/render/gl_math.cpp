// Matrix arithmetic for the render tests, written out from the textbook formulas so that
// the game's use of GLU can be checked against it.
#include "tests/render/gl_math.h"

#include <algorithm>
#include <cmath>

namespace rt {

namespace {

const double Pi = 3.14159265358979323846;

Vec3d normalised(const Vec3d& v) {
    const double len = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / len, v.y / len, v.z / len};
}

Vec3d cross(const Vec3d& a, const Vec3d& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double dot(const Vec3d& a, const Vec3d& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Builds a matrix from its rows as written on paper.
Mat4 fromRows(const double (&r)[4][4]) {
    Mat4 out{};
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) out.m[col * 4 + row] = r[row][col];
    return out;
}

}  // namespace

Mat4 identity() { return scaling(1, 1, 1); }

Mat4 operator*(const Mat4& a, const Mat4& b) {
    Mat4 out{};
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += a.at(row, k) * b.at(k, col);
            out.m[col * 4 + row] = sum;
        }
    return out;
}

Vec4d operator*(const Mat4& a, const Vec4d& v) {
    const double in[4] = {v.x, v.y, v.z, v.w};
    double out[4] = {0, 0, 0, 0};
    for (int row = 0; row < 4; ++row)
        for (int k = 0; k < 4; ++k) out[row] += a.at(row, k) * in[k];
    return {out[0], out[1], out[2], out[3]};
}

Vec3d transformPoint(const Mat4& a, const Vec3d& p) {
    const Vec4d h = a * Vec4d{p.x, p.y, p.z, 1.0};
    return {h.x / h.w, h.y / h.w, h.z / h.w};
}

Mat4 translation(double x, double y, double z) {
    return fromRows({{1, 0, 0, x}, {0, 1, 0, y}, {0, 0, 1, z}, {0, 0, 0, 1}});
}

Mat4 scaling(double x, double y, double z) {
    return fromRows({{x, 0, 0, 0}, {0, y, 0, 0}, {0, 0, z, 0}, {0, 0, 0, 1}});
}

Mat4 rotation(double degrees, double x, double y, double z) {
    const Vec3d a = normalised({x, y, z});
    const double c = std::cos(degrees * Pi / 180.0);
    const double s = std::sin(degrees * Pi / 180.0);
    const double t = 1 - c;
    // Rodrigues' formula.
    return fromRows({{t * a.x * a.x + c, t * a.x * a.y - s * a.z, t * a.x * a.z + s * a.y, 0},
                     {t * a.x * a.y + s * a.z, t * a.y * a.y + c, t * a.y * a.z - s * a.x, 0},
                     {t * a.x * a.z - s * a.y, t * a.y * a.z + s * a.x, t * a.z * a.z + c, 0},
                     {0, 0, 0, 1}});
}

Mat4 lookAt(const Vec3d& eye, const Vec3d& centre, const Vec3d& up) {
    const Vec3d f = normalised({centre.x - eye.x, centre.y - eye.y, centre.z - eye.z});
    const Vec3d s = normalised(cross(f, up));
    const Vec3d u = cross(s, f);
    return fromRows(
        {{s.x, s.y, s.z, -dot(s, eye)}, {u.x, u.y, u.z, -dot(u, eye)}, {-f.x, -f.y, -f.z, dot(f, eye)}, {0, 0, 0, 1}});
}

Mat4 perspective(double fovyDegrees, double aspect, double zNear, double zFar) {
    const double f = 1.0 / std::tan(fovyDegrees * Pi / 360.0);
    return fromRows({{f / aspect, 0, 0, 0},
                     {0, f, 0, 0},
                     {0, 0, (zFar + zNear) / (zNear - zFar), 2 * zFar * zNear / (zNear - zFar)},
                     {0, 0, -1, 0}});
}

Mat4 ortho(double left, double right, double bottom, double top, double zNear, double zFar) {
    return fromRows({{2 / (right - left), 0, 0, -(right + left) / (right - left)},
                     {0, 2 / (top - bottom), 0, -(top + bottom) / (top - bottom)},
                     {0, 0, -2 / (zFar - zNear), -(zFar + zNear) / (zFar - zNear)},
                     {0, 0, 0, 1}});
}

double maxDifference(const Mat4& a, const Mat4& b) {
    double worst = 0;
    for (int i = 0; i < 16; ++i) worst = std::max(worst, std::fabs(a.m[i] - b.m[i]));
    return worst;
}

Mat4 glMatrix(GLenum which) {
    Mat4 out{};
    glGetDoublev(which, out.m);
    return out;
}

}  // namespace rt
