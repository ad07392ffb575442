// The floor of the start-up benchmark: a freeglut program that opens the game's
// window with the same display mode and prints "perspective" at its first reshape,
// but loads no pictures and sets up nothing of the game.
#include <GL/glut.h>

#include <cstdio>

static void onFirstReshape(int width, int height) {
    glViewport(0, 0, width, height);
    std::printf("perspective\n");
    std::fflush(stdout);
}

static void onBareDisplay() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(900, 900);
    glutInitWindowPosition(100, 100);
    glutCreateWindow("Slot Machine (bare)");
    glutDisplayFunc(onBareDisplay);
    glutReshapeFunc(onFirstReshape);
    glutMainLoop();
    return 0;
}
