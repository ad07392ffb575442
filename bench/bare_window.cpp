// The floor of the first frame on screen: a freeglut program that opens the game's
// window with the same size and display mode and clears it, but loads no pictures and
// sets up nothing of the game.
#include <GL/glut.h>

#include "app/game_state.h"

static void onBareReshape(int width, int height) { glViewport(0, 0, width, height); }

static void onBareDisplay() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(WindowWidth, WindowHeight);
    glutInitWindowPosition(WindowX, WindowY);
    glutCreateWindow("Slot Machine (bare)");
    glutDisplayFunc(onBareDisplay);
    glutReshapeFunc(onBareReshape);
    glutMainLoop();
    return 0;
}
