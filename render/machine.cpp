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
                                    {{1.5f, 1.5f, 0}, {1.5f, -1.5f, 0}, {-1.5f, -1.5f, 0}, {-1.5f, 1.5f, 0}},
                                    true};

static const Plate reelWindowPlate = {
    {0.0f, 0.0f, 0.0f},
    {},
    {{0.5f, 0.375f, 0.01f}, {0.5f, -0.375f, 0.01f}, {-0.5f, -0.375f, 0.01f}, {-0.5f, 0.375f, 0.01f}},
    false};

static const GLfloat CoinSlotLineWidth = 5.0f;

// One kept quadric per piece: a frame allocates nothing.
static GLUquadric* axleQuadric() {
    static GLUquadric* q = makeQuadric(false);
    return q;
}
static GLUquadric* reelQuadric() {
    static GLUquadric* q = makeQuadric(true);
    return q;
}
static GLUquadric* marqueeQuadric() {
    static GLUquadric* q = makeQuadric(true);
    return q;
}
static GLUquadric* shaftQuadric() {
    static GLUquadric* q = makeQuadric(false);
    return q;
}
static GLUquadric* knobQuadric() {
    static GLUquadric* q = makeQuadric(false);
    return q;
}
static GLUquadric* betOneQuadric() {
    static GLUquadric* q = makeQuadric(true);
    return q;
}
static GLUquadric* betFiveQuadric() {
    static GLUquadric* q = makeQuadric(true);
    return q;
}

// ---------------------------------------------------------------------------------
// Pieces
// ---------------------------------------------------------------------------------

void drawBackdrop() {
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, TexBackdrop);
    emitPlate(backdropPlate);
    endFlatPiece();
}

void drawReelWindow() {
    glDisable(GL_LIGHTING);
    emitPlate(reelWindowPlate);
    endFlatPiece();
}

void drawAxle() {
    applyMaterial(turquoiseMaterial);
    glPushMatrix();
    glScalef(2.0f, 1.0f, 1.0f);
    glTranslatef(-0.5f, 0.0f, 0.0f);
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    gluCylinder(axleQuadric(), 0.05, 0.05, 1.0, 20, 10);
    glPopMatrix();
}

void drawReel() {
    applyMaterial(turquoiseMaterial);
    glBindTexture(GL_TEXTURE_2D, TexReel);
    glPushMatrix();
    glTranslatef(-0.35f, 0.0f, 0.0f);
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    gluCylinder(reelQuadric(), 1.0, 1.0, 0.7, 10, 10);
    glPopMatrix();
}

void drawCoinSlot() {
    glDisable(GL_LIGHTING);
    glBegin(GL_POLYGON);
    glColor3f(1.0f, 1.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.05f);
    glVertex3f(0.45f, 0.0f, 0.05f);
    glVertex3f(0.45f, 0.1f, 0.05f);
    glVertex3f(0.0f, 0.1f, 0.05f);
    glEnd();
    glLineWidth(CoinSlotLineWidth);
    glBegin(GL_LINES);
    glColor3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.05f, 0.05f, 0.06f);
    glColor3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.4f, 0.05f, 0.06f);
    glEnd();
    endFlatPiece();
}

GLuint marqueeSlot() {
    if (game.machinePhase == PhaseIdle || game.machinePhase == PhaseSpinning)
        return game.bet == StakeOne ? TexMarqueeOne : TexMarqueeFive;
    if (game.winKind == 1) return TexWinTwo;
    if (game.winKind == 2) return TexWinThree;
    return TexWinZero;
}

void drawMarquee() {
    applyMaterial(whiteMaterial);
    glBindTexture(GL_TEXTURE_2D, marqueeSlot());
    gluCylinder(marqueeQuadric(), 0.85, 0.85, 0.25, 20, 20);
    bindPlainTexture();
}

void drawLeverShaft() {
    applyMaterial(turquoiseMaterial);
    gluCylinder(shaftQuadric(), 0.1, 0.1, 1.5, 10, 10);
}

void drawLeverKnob() {
    applyMaterial(turquoiseMaterial);
    gluSphere(knobQuadric(), 0.2, 12, 12);
}

void drawBetOneButton() {
    applyMaterial(whiteMaterial);
    glBindTexture(GL_TEXTURE_2D, TexBetOne);
    gluSphere(betOneQuadric(), 0.2, 20, 20);
}

void drawBetFiveButton() {
    applyMaterial(whiteMaterial);
    glBindTexture(GL_TEXTURE_2D, TexBetFive);
    gluSphere(betFiveQuadric(), 0.2, 20, 20);
    bindPlainTexture();
}

// ---------------------------------------------------------------------------------
// Composition
// ---------------------------------------------------------------------------------

// Draws one reel at its offset in the reel frame, turned by its angle.
static void placeReel(float offset, float angle) {
    glPushMatrix();
    if (offset != 0.0f) glTranslatef(offset, 0.0f, 0.0f);
    glRotatef(angle, 1.0f, 0.0f, 0.0f);
    drawReel();
    glPopMatrix();
}

void drawMachine() {
    glPushMatrix();  // machine frame
    glTranslatef(0.5f, 0.5f, 0.0f);
    glScalef(1.25f, 1.25f, 1.5f);
    drawBackdrop();

    glPushMatrix();  // window frame
    glScalef(1.75f, 1.25f, 1.0f);
    drawReelWindow();

    glPushMatrix();  // reel frame
    glScalef(0.5f, 0.5f, 0.5f);
    drawAxle();
    glScalef(0.75f, 0.75f, 0.75f);  // the reels only: the axle is drawn
    placeReel(0.0f, game.reelAngle[1]);
    placeReel(0.8f, game.reelAngle[2]);
    placeReel(-0.8f, game.reelAngle[0]);
    glPopMatrix();
    glPopMatrix();

    glPushMatrix();
    glTranslatef(-0.8f, -0.75f, 0.0f);
    drawCoinSlot();
    glPopMatrix();

    glPushMatrix();
    glTranslatef(0.0f, 0.75f, 0.0f);
    glRotatef(game.marqueeAngle, 0.0f, 1.0f, 0.0f);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    drawMarquee();
    glPopMatrix();
    glPopMatrix();  // back in the caller's frame

    glPushMatrix();
    setPickName(PickLever);
    glScalef(1.5f, 1.5f, 1.5f);
    glTranslatef(1.35f, -0.65f, 0.0f);
    glRotatef(game.leverAngle, 1.0f, 0.0f, 0.0f);
    glPushMatrix();
    glTranslatef(0.0f, 1.5f, 0.0f);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    drawLeverShaft();
    glPopMatrix();
    glPushMatrix();
    glTranslatef(0.0f, 1.5f, 0.0f);
    drawLeverKnob();
    glPopMatrix();
    glPopMatrix();

    glPushMatrix();
    setPickName(PickBetOne);
    glTranslatef(0.65f, -0.8f, 0.0f);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    drawBetOneButton();
    glPopMatrix();

    glPushMatrix();
    setPickName(PickBetFive);
    glTranslatef(1.15f, -0.8f, 0.0f);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    drawBetFiveButton();
    glPopMatrix();
}
