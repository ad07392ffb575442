// Matrix arithmetic for the render tests, computed here independently of GLU: 4 x 4
// matrices stored column-major as the GL keeps them, and the camera matrices.
#pragma once

#include <GL/gl.h>

namespace rt {

struct Vec3d {
    double x, y, z;
};

struct Vec4d {
    double x, y, z, w;
};

struct Mat4 {
    double m[16];  // column-major: m[col * 4 + row]
    double at(int row, int col) const { return m[col * 4 + row]; }
};

Mat4 identity();
Mat4 operator*(const Mat4& a, const Mat4& b);
Vec4d operator*(const Mat4& a, const Vec4d& v);
Vec3d transformPoint(const Mat4& a, const Vec3d& p);

Mat4 translation(double x, double y, double z);
Mat4 scaling(double x, double y, double z);
// Rotation by `degrees` about the axis (x, y, z), right-handed as glRotate turns.
Mat4 rotation(double degrees, double x, double y, double z);
Mat4 lookAt(const Vec3d& eye, const Vec3d& centre, const Vec3d& up);
Mat4 perspective(double fovyDegrees, double aspect, double zNear, double zFar);
Mat4 ortho(double left, double right, double bottom, double top, double zNear, double zFar);

// The largest difference between two matrices, element by element.
double maxDifference(const Mat4& a, const Mat4& b);

// The GL's current projection or model-view matrix (GL_PROJECTION_MATRIX, GL_MODELVIEW_MATRIX).
Mat4 glMatrix(GLenum which);

}  // namespace rt
