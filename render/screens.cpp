// The prize counter (winner or loser sign, bouncing gold ball) and the token counter
// (three dollar coins that buy tokens).
#include "app/game_state.h"
#include "assets/assets.h"
#include "render/pick_names.h"
#include "render/render.h"

// ---------------------------------------------------------------------------------
// Shapes
// ---------------------------------------------------------------------------------

static const GLfloat ScreenScale = 2.25f;

static const Plate counterBackdropPlate = {
    {1.0f, 1.0f, 1.0f}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}}, true};

static const Plate verdictPlate = {{1.0f, 1.0f, 1.0f},
                                   {{0, 0}, {1, 0}, {1, 1}, {0, 1}},
                                   {{-0.25f, 0, 0}, {0.25f, 0, 0}, {0.25f, 0.25f, 0}, {-0.25f, 0.25f, 0}},
                                   true};

struct DollarCoin {
    PickName name;
    GLfloat offset[3];
    GLfloat angle;  // about x: the two lower coins lean back a little more
    void (*draw)();
};

static const DollarCoin dollarCoins[3] = {
    {PickDollarOne, {-0.3f, 1.0f, 0.0f}, -90.0f, drawDollarOne},
    {PickDollarTwo, {-0.3f, 0.25f, 0.0f}, -95.0f, drawDollarTwo},
    {PickDollarFive, {-0.3f, -0.5f, 0.0f}, -95.0f, drawDollarFive},
};

static GLUquadric* ballQuadric() {
    static GLUquadric* q = makeQuadric(false);
    return q;
}

static GLUquadric* dollarQuadric(int which) {
    static GLUquadric* const q[3] = {makeQuadric(true), makeQuadric(true), makeQuadric(true)};
    return q[which];
}

// ---------------------------------------------------------------------------------
// Pieces
// ---------------------------------------------------------------------------------

static void drawCounterBackdrop(GLuint slot) {
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, slot);
    emitPlate(counterBackdropPlate);
    endFlatPiece();
    bindPlainTexture();
}

void drawPrizeBackdrop() { drawCounterBackdrop(TexPrizeBackdrop); }

void drawTokenBackdrop() { drawCounterBackdrop(TexTokenBackdrop); }

void drawVerdictSign(int offset) {
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(TexWinner + offset));
    emitPlate(verdictPlate);
    endFlatPiece();
    bindPlainTexture();
}

void drawPrizeBall() {
    applyMaterial(goldMaterial);
    gluSphere(ballQuadric(), 0.2, 20, 20);
}

static void drawDollar(int which, GLuint slot) {
    applyMaterial(whiteMaterial);
    glBindTexture(GL_TEXTURE_2D, slot);
    gluSphere(dollarQuadric(which), 0.2, 20, 20);
}

void drawDollarOne() { drawDollar(0, TexDollarOne); }

void drawDollarTwo() { drawDollar(1, TexDollarTwo); }

void drawDollarFive() { drawDollar(2, TexDollarFive); }

// ---------------------------------------------------------------------------------
// Screens
// ---------------------------------------------------------------------------------

void drawPrizeScreen() {
    // The ball's quadric comes with the screen's first frame, winner or not: a later
    // frame that first shows the ball allocates nothing.
    ballQuadric();
    glPushMatrix();
    glTranslatef(0.5f, 0.5f, 0.0f);
    glScalef(ScreenScale, ScreenScale, 1.0f);
    drawPrizeBackdrop();
    if (game.tickets >= WinnerTickets) {
        glPushMatrix();
        glTranslatef(0.0f, game.ballHeight, 1.0f);
        drawPrizeBall();
        glPopMatrix();
        glTranslatef(0.0f, -0.5f, 1.0f);
        drawVerdictSign(0);
    } else {
        glTranslatef(0.0f, -0.5f, 1.0f);
        drawVerdictSign(1);
    }
    glPopMatrix();
}

void drawTokenScreen() {
    glPushMatrix();
    glTranslatef(0.5f, 0.5f, 0.0f);
    glScalef(ScreenScale, ScreenScale, 1.0f);
    drawTokenBackdrop();
    glPopMatrix();
    for (const DollarCoin& coin : dollarCoins) {
        glPushMatrix();
        setPickName(coin.name);
        glTranslatef(coin.offset[0], coin.offset[1], coin.offset[2]);
        glRotatef(coin.angle, 1.0f, 0.0f, 0.0f);
        coin.draw();
        glPopMatrix();
    }
    bindPlainTexture();
}
