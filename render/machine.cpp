// The machine model: backdrop, reel window, axle, three reels, coin slot, marquee,
// lever and the two bet buttons, with the pick names of the parts a press can hit.
#include "app/game_state.h"
#include "assets/assets.h"
#include "render/pick_names.h"
#include "render/render.h"

// ---------------------------------------------------------------------------------
// Shapes
// ---------------------------------------------------------------------------------

static const Plate backdropPlate = {{1.0f, 1.0f, 1.0f},
                                    {{1, 1}, {1, 0}, {0, 0}, {0, 1}},
                                    {{1.5f, 1.5f, 0}, {1.5f, -1.5f, 0}, {-1.5f, -1.5f, 0}, {-1.5f, 1.5f, 0}}};

// Black stays black under any texel, so its coordinates are the backdrop's corner.
static const Plate reelWindowPlate = {
    {0.0f, 0.0f, 0.0f},
    {{0, 1}, {0, 1}, {0, 1}, {0, 1}},
    {{0.5f, 0.375f, 0.01f}, {0.5f, -0.375f, 0.01f}, {-0.5f, -0.375f, 0.01f}, {-0.5f, 0.375f, 0.01f}}};

static const GLfloat CoinSlotCorners[4][3] = {
    {0.0f, 0.0f, 0.05f}, {0.45f, 0.0f, 0.05f}, {0.45f, 0.1f, 0.05f}, {0.0f, 0.1f, 0.05f}};
static const GLfloat CoinSlotLine[2][3] = {{0.05f, 0.05f, 0.06f}, {0.4f, 0.05f, 0.06f}};
static const GLfloat CoinSlotLineWidth = 5.0f;
// The reel strip's coordinate that tints the coin slot: the last one of a reel's drum.
static const GLfloat CoinSlotTexCoord[2] = {1.0f, 1.0f};

// ---------------------------------------------------------------------------------
// Pieces
// ---------------------------------------------------------------------------------

void drawBackdrop() {
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, TexBackdrop);
    emitPlate(backdropPlate);
    endFlatPiece();
    bindPlainTexture();
}

void drawReelWindow() {
    glDisable(GL_LIGHTING);
    emitPlate(reelWindowPlate);
    endFlatPiece();
}

void drawAxle() {
    // The axle wears the backdrop's corner texel, as it has since it was drawn straight
    // after the backdrop; the coordinate goes with every vertex, as every piece gives it.
    glBindTexture(GL_TEXTURE_2D, TexBackdrop);
    applyMaterial(turquoiseMaterial);
    glPushMatrix();
    glScalef(2.0f, 1.0f, 1.0f);
    glTranslatef(-0.5f, 0.0f, 0.0f);
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    drawRoundPieceAtTexel(PieceAxle, backdropPlate.texCoord[3]);
    glPopMatrix();
}

void drawReel() {
    applyMaterial(turquoiseMaterial);
    glBindTexture(GL_TEXTURE_2D, TexReel);
    glPushMatrix();
    glTranslatef(-0.35f, 0.0f, 0.0f);
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    drawRoundPiece(PieceReel);
    glPopMatrix();
}

void drawCoinSlot() {
    // Its colours are modulated by the reel strip's last texel, as they have been
    // since it was drawn straight after the reels; the coordinate goes with every
    // vertex, as every flat piece gives it.
    if (!notePiece(CoinSlotCorners, 4) || !notePiece(CoinSlotLine, 2)) return;
    glBindTexture(GL_TEXTURE_2D, TexReel);
    glDisable(GL_LIGHTING);
    glBegin(GL_POLYGON);
    glColor3f(1.0f, 1.0f, 0.0f);
    glTexCoord2fv(CoinSlotTexCoord);
    for (const auto& corner : CoinSlotCorners) glVertex3fv(corner);
    glEnd();
    glLineWidth(CoinSlotLineWidth);
    glBegin(GL_LINES);
    for (const auto& end : CoinSlotLine) {
        glColor3f(0.0f, 0.0f, 0.0f);
        glTexCoord2fv(CoinSlotTexCoord);
        glVertex3fv(end);
    }
    glEnd();
    endFlatPiece();
}

GLuint marqueeSlot() {
    if (game.machinePhase == PhaseIdle || game.machinePhase == PhaseSpinning)
        return game.bet == StakeOne ? TexMarqueeOne : TexMarqueeFive;
    if (game.winKind == WinPair) return TexWinTwo;
    if (game.winKind == WinTriple) return TexWinThree;
    return TexWinZero;
}

void drawMarquee() {
    applyMaterial(whiteMaterial);
    glBindTexture(GL_TEXTURE_2D, marqueeSlot());
    drawRoundPiece(PieceMarquee);
    bindPlainTexture();
}

void drawLeverShaft() {
    applyMaterial(turquoiseMaterial);
    drawRoundPiece(PieceLeverShaft);
}

void drawLeverKnob() {
    applyMaterial(turquoiseMaterial);
    drawRoundPiece(PieceLeverKnob);
}

// A bet button whose stake the tokens in the bar cannot pay is dimmed. It goes by the
// bar, not by the tokens a spin's result may already have added: lit before the reels
// land, a button would give the result away.
static void drawBetButton(GLuint slot, int32_t stake) {
    applyMaterial(game.shownCredits >= stake ? whiteMaterial : dimmedMaterial);
    glBindTexture(GL_TEXTURE_2D, slot);
    drawRoundPiece(PieceBetButton);
}

void drawBetOneButton() { drawBetButton(TexBetOne, StakeOne); }

void drawBetFiveButton() {
    drawBetButton(TexBetFive, StakeFive);
    bindPlainTexture();
}

// ---------------------------------------------------------------------------------
// Composition
// ---------------------------------------------------------------------------------

// Draws one reel at its offset in the reel frame, turned by its angle.
static void placeReel(FramePart part, float offset, float angle) {
    glPushMatrix();
    if (offset != 0.0f) glTranslatef(offset, 0.0f, 0.0f);
    glRotatef(angle, 1.0f, 0.0f, 0.0f);
    setFramePart(part);
    drawReel();
    setFramePart(PartNone);
    glPopMatrix();
}

void drawMachine() {
    // Nearest first: the depth test then spares the window and the backdrop the shading
    // of what the reels, the slot and the marquee cover. The order stays within the
    // unnamed run that picking reports first.
    glPushMatrix();  // machine frame
    glTranslatef(0.5f, 0.5f, 0.0f);
    glScalef(1.25f, 1.25f, 1.5f);

    glPushMatrix();  // window frame
    glScalef(1.75f, 1.25f, 1.0f);
    glPushMatrix();  // reel frame
    glScalef(0.5f, 0.5f, 0.5f);
    glPushMatrix();
    glScalef(0.75f, 0.75f, 0.75f);  // the reels only
    placeReel(PartReelCentre, 0.0f, game.reelAngle[1]);
    placeReel(PartReelRight, 0.8f, game.reelAngle[2]);
    placeReel(PartReelLeft, -0.8f, game.reelAngle[0]);
    glPopMatrix();
    drawAxle();
    glPopMatrix();
    drawReelWindow();
    glPopMatrix();

    glPushMatrix();
    glTranslatef(-0.8f, -0.75f, 0.0f);
    drawCoinSlot();
    glPopMatrix();

    glPushMatrix();
    glTranslatef(0.0f, 0.75f, 0.0f);
    glRotatef(game.marqueeAngle, 0.0f, 1.0f, 0.0f);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    setFramePart(PartMarquee);
    drawMarquee();
    setFramePart(PartNone);
    glPopMatrix();

    drawBackdrop();
    glPopMatrix();  // back in the caller's frame

    glPushMatrix();
    setPickName(PickLever);
    glScalef(1.5f, 1.5f, 1.5f);
    glTranslatef(1.35f, -0.65f, 0.0f);
    glRotatef(game.leverAngle, 1.0f, 0.0f, 0.0f);
    setFramePart(PartLever);
    glPushMatrix();
    glTranslatef(0.0f, 1.5f, 0.0f);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    drawLeverShaft();
    glPopMatrix();
    glPushMatrix();
    glTranslatef(0.0f, 1.5f, 0.0f);
    drawLeverKnob();
    glPopMatrix();
    setFramePart(PartNone);
    glPopMatrix();

    glPushMatrix();
    setPickName(PickBetOne);
    glTranslatef(0.65f, -0.8f, 0.0f);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    setFramePart(PartBetOne);
    drawBetOneButton();
    setFramePart(PartNone);
    glPopMatrix();

    glPushMatrix();
    setPickName(PickBetFive);
    glTranslatef(1.15f, -0.8f, 0.0f);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    setFramePart(PartBetFive);
    drawBetFiveButton();
    setFramePart(PartNone);
    glPopMatrix();
}
