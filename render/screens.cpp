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
    {1.0f, 1.0f, 1.0f}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}}};

static const Plate verdictPlate = {{1.0f, 1.0f, 1.0f},
                                   {{0, 0}, {1, 0}, {1, 1}, {0, 1}},
                                   {{-0.25f, 0, 0}, {0.25f, 0, 0}, {0.25f, 0.25f, 0}, {-0.25f, 0.25f, 0}}};

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
    drawRoundPiece(PiecePrizeBall);
}

static void drawDollar(GLuint slot) {
    applyMaterial(whiteMaterial);
    glBindTexture(GL_TEXTURE_2D, slot);
    drawRoundPiece(PieceDollar);
}

void drawDollarOne() { drawDollar(TexDollarOne); }

void drawDollarTwo() { drawDollar(TexDollarTwo); }

void drawDollarFive() { drawDollar(TexDollarFive); }

// ---------------------------------------------------------------------------------
// Screens
// ---------------------------------------------------------------------------------

void drawPrizeScreen() {
    // The ball and the sign before the backdrop behind them: the depth test spares the
    // backdrop the shading of what they cover.
    glPushMatrix();
    glTranslatef(0.5f, 0.5f, 0.0f);
    glScalef(ScreenScale, ScreenScale, 1.0f);
    glPushMatrix();
    if (game.tickets >= WinnerTickets) {
        glPushMatrix();
        glTranslatef(0.0f, game.ballHeight, 1.0f);
        bindPlainTexture();
        setFramePart(PartBall);
        drawPrizeBall();
        setFramePart(PartNone);
        glPopMatrix();
        glTranslatef(0.0f, -0.5f, 1.0f);
        drawVerdictSign(0);
    } else {
        glTranslatef(0.0f, -0.5f, 1.0f);
        drawVerdictSign(1);
    }
    glPopMatrix();
    drawPrizeBackdrop();
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
