// The one directional light, the three materials, and how they reach the GL.
#include "render/render.h"

// ---------------------------------------------------------------------------------
// Tables
// ---------------------------------------------------------------------------------

const Material turquoiseMaterial = {
    {0.1f, 0.28725f, 0.2745f, 0.8f}, {0.396f, 0.74151f, 0.69102f, 0.8f}, {0.297254f, 0.30829f, 0.306678f, 0.8f}, 12.8f};
const Material whiteMaterial = {{1.0f, 1.0f, 1.0f, 0.8f}, {1.0f, 1.0f, 1.0f, 0.8f}, {1.0f, 1.0f, 1.0f, 0.8f}, 20.0f};
const Material dimmedMaterial = {
    {0.25f, 0.25f, 0.25f, 0.8f}, {0.2f, 0.2f, 0.2f, 0.8f}, {0.1f, 0.1f, 0.1f, 0.8f}, 20.0f};
const Material goldMaterial = {{0.24725f, 0.2245f, 0.0645f, 1.0f},
                               {0.34615f, 0.3143f, 0.0903f, 1.0f},
                               {0.797357f, 0.723991f, 0.208006f, 1.0f},
                               83.2f};

// w = 0: a directional light from above, right and the viewer's side.
const GLfloat lightPosition[4] = {0.25f, 0.25f, 0.5f, 0.0f};
const GLfloat lightAmbient[4] = {1.0f, 1.0f, 1.0f, 1.0f};
const GLfloat lightDiffuse[4] = {0.6f, 0.6f, 0.6f, 1.0f};
const GLfloat lightSpecular[4] = {1.0f, 1.0f, 1.0f, 1.0f};

// ---------------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------------

void applyMaterial(Material m) {
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, m.ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, m.diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, m.specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, &m.shininess);
}

void initLighting() {
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
    glLightfv(GL_LIGHT0, GL_AMBIENT, lightAmbient);
    glLightfv(GL_LIGHT0, GL_SPECULAR, lightSpecular);
    glShadeModel(GL_FLAT);  // start-up switches to smooth before the first frame
}

void placeLight() {
    glMatrixMode(GL_MODELVIEW);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glLightfv(GL_LIGHT0, GL_SPECULAR, lightSpecular);
}

GLUquadric* makeQuadric() {
    GLUquadric* q = gluNewQuadric();
    gluQuadricTexture(q, GL_TRUE);
    gluQuadricDrawStyle(q, GLU_FILL);
    gluQuadricNormals(q, GLU_SMOOTH);
    return q;
}
