// The status bar (tokens as gold coins on a white strip, tickets as stubs on a yellow
// strip, each count also written out below its row, and with no tokens a pointer to
// the token counter) and the menu panel; the bar is also where the shown counts catch up.
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

// The counts: written below the first coin and the first stub, the height of the
// digits, in front of the strips as the rows are.
static const GLfloat CountHeight = 0.2f;
static const GLfloat CountBaseline = -2.95f;
static const GLfloat CountZ = 0.5f;
static const GLfloat TokenCountX = -2.68f;
static const GLfloat TicketCountX = 0.57f;
static const GLfloat CountColour[3] = {0.0f, 0.0f, 0.0f};

// The pointer to the token counter, after the count: the key that leads there, on a
// key cap as the menu shows keys, an arrow, and the counter's one-dollar coin.
static const GLfloat PointerGap = 0.12f;
static const GLfloat KeyCapWidth = 0.3f;
static const GLfloat KeyCapHeight = 0.28f;
static const GLfloat KeyCapBorder = 0.025f;
static const GLfloat KeyCapEdge[3] = {0.3f, 0.22f, 0.05f};
static const GLfloat KeyCapFace[3] = {1.0f, 0.95f, 0.8f};
static const GLfloat KeyLetterHeight = 0.16f;
static const GLfloat ArrowColour[3] = {0.75f, 0.05f, 0.05f};
static const GLfloat PointerCoinRadius = 0.13f;
static const GLfloat Raise = 0.005f;  // each layer of the key a little in front of the one below

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

// The count in decimal digits; a count below zero is written as none.
static void formatCount(int32_t count, char (&out)[12]) {
    char reversed[12];
    int n = 0;
    uint32_t rest = count > 0 ? static_cast<uint32_t>(count) : 0u;
    do {
        reversed[n++] = static_cast<char>('0' + rest % 10u);
        rest /= 10u;
    } while (rest > 0u);
    for (int i = 0; i < n; ++i) out[i] = reversed[n - 1 - i];
    out[n] = '\0';
}

// Writes a count below its row; returns where its digits end.
static GLfloat drawCount(GLfloat x, int32_t count) {
    char digits[12];
    formatCount(count, digits);
    glPushMatrix();
    glTranslatef(x, CountBaseline, CountZ);
    drawStrokes(digits, CountHeight, CountColour);
    glPopMatrix();
    return x + strokesWidth(digits, CountHeight);
}

// A flat box of the colour given, from its lower left corner.
static void drawBox(GLfloat x, GLfloat y, GLfloat z, GLfloat width, GLfloat height, const GLfloat colour[3]) {
    glPushMatrix();
    glTranslatef(x, y, z);
    glScalef(width, height, 1.0f);
    drawUnitQuad(colour);
    glPopMatrix();
}

// With no tokens, after their count: the T key on its cap, an arrow, and the dollar coin
// the token counter sells by. Nearest layer first, as the rows are drawn.
static void drawTokenPointer(GLfloat x) {
    const GLfloat midY = CountBaseline + CountHeight / 2.0f;
    const GLfloat capX = x + PointerGap;
    const GLfloat capY = midY - KeyCapHeight / 2.0f;
    glPushMatrix();
    glTranslatef(capX + (KeyCapWidth - strokesWidth("T", KeyLetterHeight)) / 2.0f, midY - KeyLetterHeight / 2.0f,
                 CountZ + 2.0f * Raise);
    drawStrokes("T", KeyLetterHeight, CountColour);
    glPopMatrix();
    drawBox(capX + KeyCapBorder, capY + KeyCapBorder, CountZ + Raise, KeyCapWidth - 2.0f * KeyCapBorder,
            KeyCapHeight - 2.0f * KeyCapBorder, KeyCapFace);
    drawBox(capX, capY, CountZ, KeyCapWidth, KeyCapHeight, KeyCapEdge);

    const GLfloat arrowX = capX + KeyCapWidth + PointerGap;
    glPushMatrix();
    glTranslatef(arrowX, CountBaseline, CountZ);
    drawStrokes(">", CountHeight, ArrowColour);
    glPopMatrix();

    // The token counter's own coin, made small, turned to face the player as it does there.
    const GLfloat coinScale = PointerCoinRadius / static_cast<GLfloat>(roundShapes[PieceDollar].radius);
    glPushMatrix();
    glTranslatef(arrowX + strokesWidth(">", CountHeight) + PointerGap + PointerCoinRadius, midY, CountZ);
    glScalef(coinScale, coinScale, coinScale);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    drawDollarOne();
    glPopMatrix();
    bindPlainTexture();
}

void catchUpShownCounts() {
    // While an animation runs the bar keeps what it showed: winnings appear at its end.
    if (game.animating == 0) {
        game.shownTickets = game.tickets;
        game.shownCredits = game.credits;
    }
}

void drawStatusBar() {
    catchUpShownCounts();
    setFramePart(PartStatusBar);
    // The rows before the strips behind them, so that the depth test spares the strips
    // the shading of what the coins and stubs cover.
    drawRow(-2.5f, 0.4f, 0.4f, game.shownCredits, MaxCoinsShown, drawCoin);
    drawRow(0.5f, 0.25f, 0.75f, game.shownTickets, MaxTicketsShown, drawTicket);
    bindPlainTexture();
    const GLfloat tokensEnd = drawCount(TokenCountX, game.shownCredits);
    drawCount(TicketCountX, game.shownTickets);
    // Where tokens are bought there is nothing to point to.
    if (game.shownCredits <= 0 && game.screen != ScreenTokens) drawTokenPointer(tokensEnd);
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
