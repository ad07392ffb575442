// The status bar (tokens as gold coins on a white strip, tickets as stubs on a yellow
// strip) and the menu panel; the bar is also where the shown counts catch up.
#include "app/game_state.h"
#include "assets/assets.h"
#include "render/render.h"

// ---------------------------------------------------------------------------------
// Shapes
// ---------------------------------------------------------------------------------

static const GLfloat CoinSpacing = 0.75f;  // in the coin row's scaled units

static const Plate ticketPlate = {
    {0.0f, 0.5f, 1.0f}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{0, 0, 0}, {0.75f, 0, 0}, {0.75f, 0.5f, 0}, {0, 0.5f, 0}}};

// The strips' shape; its colour is each strip's own.
static const Plate unitPlate = {
    {1.0f, 1.0f, 1.0f}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}};

static const Plate menuPlate = {
    {1.0f, 1.0f, 1.0f}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{0, 0, 0}, {1, 0, 0}, {1, 2, 0}, {0, 2, 0}}};

// ---------------------------------------------------------------------------------
// Flat pieces
// ---------------------------------------------------------------------------------

void emitPlate(const Plate& plate) {
    if (!notePiece(plate.vertex, 4)) return;
    glBegin(GL_POLYGON);
    for (int i = 0; i < 4; ++i) {
        glColor3fv(plate.colour);
        glTexCoord2fv(plate.texCoord[i]);
        glVertex3fv(plate.vertex[i]);
    }
    glEnd();
}

void endFlatPiece() {
    glEnable(GL_LIGHTING);
    glShadeModel(GL_SMOOTH);
}

void drawUnitQuad(const GLfloat colour[3]) {
    Plate quad = unitPlate;
    for (int c = 0; c < 3; ++c) quad.colour[c] = colour[c];
    glDisable(GL_LIGHTING);
    emitPlate(quad);
    endFlatPiece();
}

// ---------------------------------------------------------------------------------
// Status bar
// ---------------------------------------------------------------------------------

void drawCoin() {
    glPushMatrix();
    glTranslatef(static_cast<GLfloat>(game.hudSlot) * CoinSpacing, 0.0f, 0.0f);
    applyMaterial(goldMaterial);
    glBindTexture(GL_TEXTURE_2D, TexCoin);
    drawRoundPiece(PieceCoin);
    glPopMatrix();
}

void drawTicket() {
    glDisable(GL_LIGHTING);
    glPushMatrix();
    glTranslatef(static_cast<GLfloat>(game.hudSlot), 0.0f, 0.0f);
    glBindTexture(GL_TEXTURE_2D, TexTicket);
    emitPlate(ticketPlate);
    glPopMatrix();
    endFlatPiece();
}

// Draws one strip of the bar in the colour given, under whatever slot is bound.
static void drawStrip(GLfloat x, GLfloat width, GLfloat r, GLfloat g, GLfloat b) {
    glPushMatrix();
    glTranslatef(x, -3.75f, 0.0f);
    glScalef(width, 1.6f, 1.0f);
    const GLfloat colour[3] = {r, g, b};
    drawUnitQuad(colour);
    glPopMatrix();
}

// Draws `count` items of a row, at most `limit`, each placed by hudSlot.
static void drawRow(GLfloat x, GLfloat sx, GLfloat sy, int32_t count, int32_t limit, void (*drawItem)()) {
    glPushMatrix();
    game.hudSlot = 0;
    glTranslatef(x, -2.5f, 0.5f);
    glScalef(sx, sy, 1.0f);
    glPushMatrix();
    for (int32_t i = 0; i < count && i < limit; ++i) {
        drawItem();
        game.hudSlot += 1;
    }
    glPopMatrix();
    glPopMatrix();
}

void drawStatusBar() {
    // While an animation runs the bar keeps what it showed: winnings appear at its end.
    if (game.animating == 0) {
        game.shownTickets = game.tickets;
        game.shownCredits = game.credits;
    }
    setFramePart(PartStatusBar);
    // The rows before the strips behind them, so that the depth test spares the strips
    // the shading of what the coins and stubs cover.
    drawRow(-2.5f, 0.4f, 0.4f, game.shownCredits, MaxCoinsShown, drawCoin);
    drawRow(0.5f, 0.25f, 0.75f, game.shownTickets, MaxTicketsShown, drawTicket);
    bindPlainTexture();
    drawStrip(-3.0f, 3.5f, 1.0f, 1.0f, 1.0f);
    drawStrip(0.0f, 4.5f, 1.0f, 1.0f, 0.0f);
    setFramePart(PartNone);
}

// ---------------------------------------------------------------------------------
// Menu panel
// ---------------------------------------------------------------------------------

void drawMenuPanel() {
    glDisable(GL_LIGHTING);
    glPushMatrix();
    glTranslatef(-3.0f, 0.0f, 0.0f);
    glScalef(1.25f, 1.25f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, TexMenu);
    emitPlate(menuPlate);
    glPopMatrix();
    endFlatPiece();
}
